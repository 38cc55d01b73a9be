#pragma once
// The followed page as `tunora serve` holds it in memory: the follower
// publishes each new page with its covers; the server's threads read it and
// wait for the next one. Publishing never waits for a client: it swaps the
// page under a short lock and wakes the waiting ones, which then write at
// their own pace.

#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "serve/page_feed.h"

namespace tunora {

using ServedCovers = std::map<std::string, std::shared_ptr<const ServedCover>, std::less<>>;

class PageStore final : public PageFeed {
 public:
  // `firstPage` is served until the first song; at most `maxEventClients`
  // listen to the event stream at once.
  PageStore(std::string firstPage, std::size_t maxEventClients);

  // A new page, with its covers by name. `version` differs from the one
  // before; the page's script knows it.
  void publish(std::uint64_t version, std::string html, ServedCovers covers);
  // Wakes every waiting client for good: the program ends.
  void close();

  std::shared_ptr<const ServedPage> page() const override;
  std::shared_ptr<const ServedCover> cover(std::string_view name) const override;
  std::unique_ptr<EventSeat> takeEventSeat() override;
  std::optional<std::uint64_t> waitForVersion(std::uint64_t seen,
                                              std::chrono::milliseconds timeout) override;
  bool closed() const override;

 private:
  class Seat;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::shared_ptr<const ServedPage> page_;
  ServedCovers covers_;
  ServedCovers previousCovers_;
  std::size_t seatsTaken_ = 0;
  const std::size_t maxSeats_;
  bool closed_ = false;
};

}  // namespace tunora
