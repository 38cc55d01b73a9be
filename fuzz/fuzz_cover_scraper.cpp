// Feeds arbitrary bytes to the store scraper: as a result page of both store
// fronts, and as the album page behind a result and its picture, which must
// be a whole JPEG to be kept.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "coversearch/cover_scraper.h"

namespace {

// Answers every page with the fuzz input and has no picture to give.
class InputPages : public tunora::HttpClient {
 public:
  explicit InputPages(std::string_view page) : page_(page) {}
  std::optional<std::vector<std::uint8_t>> postForm(std::string_view, std::string_view,
                                                    std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::vector<std::uint8_t>> get(std::string_view) override {
    return std::vector<std::uint8_t>(page_.begin(), page_.end());
  }
  std::optional<tunora::ServiceAnswer> getFromService(std::string_view, std::string_view,
                                                      std::size_t) override {
    return std::nullopt;
  }

 private:
  std::string_view page_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  InputPages client(page);
  for (const auto variant : {tunora::StoreVariant::Us, tunora::StoreVariant::German}) {
    tunora::CoverResults results;
    tunora::parseResults(page, variant, results);
    tunora::CoverFetch fetch{true, {}};
    tunora::findCover(client, "http://store.example.com/album", variant, &fetch);
  }
  return 0;
}
