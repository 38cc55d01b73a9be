#pragma once
// What the HTTP side of `tunora serve` asks of the followed page: the page
// as served now, its covers by name, and a wait for the next page. The server
// lives in a module of its own (page_server.h), so this is an interface: its
// calls go through the object, not through symbols of the program.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tunora {

struct ServedCover {
  std::string contentType;
  std::string bytes;
};

struct ServedPage {
  // 0 before the first song; every new page counts one up.
  std::uint64_t version = 0;
  // UTF-8.
  std::string html;
};

// Held by each client of the event stream for as long as it listens.
class EventSeat {
 public:
  virtual ~EventSeat() = default;
};

class PageFeed {
 public:
  virtual std::shared_ptr<const ServedPage> page() const = 0;
  // A cover of the current or the previous page ("<hash>.jpg"); nothing for
  // any other name. The previous page's stay for a browser that loaded that
  // page a moment before the song changed.
  virtual std::shared_ptr<const ServedCover> cover(std::string_view name) const = 0;
  // A seat for one more client of the event stream; nothing when all are
  // taken.
  virtual std::unique_ptr<EventSeat> takeEventSeat() = 0;
  // The version of the page once it differs from `seen`, at once when it
  // already does; nothing when `timeout` passed first or the feed closed.
  virtual std::optional<std::uint64_t> waitForVersion(std::uint64_t seen,
                                                      std::chrono::milliseconds timeout) = 0;
  // True once the feed closed: the program ends.
  virtual bool closed() const = 0;

 protected:
  ~PageFeed() = default;
};

}  // namespace tunora
