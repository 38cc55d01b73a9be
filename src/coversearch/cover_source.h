#pragma once
// Where covers come from: a search by keywords that lists albums, the cover
// of one listed album, and its page for a browser. The store fronts and
// MusicBrainz are the sources; the dialog and the tool use them alike.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "coversearch/cover_results.h"
#include "coversearch/http_client.h"
#include "coversearch/store_client.h"
#include "coversearch/store_fronts.h"

namespace tunora {

class CoverSource {
 public:
  virtual ~CoverSource() = default;
  // Appends what was found; false when the source gave no usable answer.
  virtual bool search(std::string_view keywords, CoverResults& results) = 0;
  // The cover of a result's link as it was sent; nothing without one.
  virtual std::optional<std::vector<std::uint8_t>> findCover(std::string_view link) = 0;
  virtual std::string pageUrl(std::string_view link) const = 0;
  // Why the last search or cover gave nothing, as "HOST: REASON".
  const std::string& failure() const { return fetch_.failure; }
  // From now on only a whole JPEG counts as a cover (see CoverFetch).
  void acceptOnlyWholeJpegs() { fetch_.wholeJpegOnly = true; }

 protected:
  CoverFetch fetch_;
};

// A store front by its host text ("name" or "name:port"): its search form,
// and the product pages its links name on that host.
class StoreFrontSource final : public CoverSource {
 public:
  StoreFrontSource(HttpClient& client, std::string host, StoreVariant variant)
      : client_(client), host_(std::move(host)), variant_(variant) {}

  bool search(std::string_view keywords, CoverResults& results) override;
  std::optional<std::vector<std::uint8_t>> findCover(std::string_view link) override;
  std::string pageUrl(std::string_view link) const override;

 private:
  HttpClient& client_;
  std::string host_;
  StoreVariant variant_;
};

}  // namespace tunora
