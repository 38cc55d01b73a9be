// Feeds arbitrary bytes to the MusicBrainz source: as the search service's
// JSON answer, and as the archive's answer for a cover (a redirect to the
// same answer again, until the hop limit, or a picture that is not a JPEG).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "coversearch/musicbrainz.h"

namespace {

class InputService : public tunora::HttpClient {
 public:
  explicit InputService(std::string_view body) : body_(body) {}
  std::optional<std::vector<std::uint8_t>> postForm(std::string_view, std::string_view,
                                                    std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::vector<std::uint8_t>> get(std::string_view) override { return std::nullopt; }
  std::optional<tunora::ServiceAnswer> getFromService(std::string_view url, std::string_view,
                                                      std::size_t maxBytes) override {
    if (body_.size() > maxBytes) return std::nullopt;
    tunora::ServiceAnswer answer;
    // The first byte picks the status of a cover answer: 200 or a redirect.
    const bool cover = url.find("/front-500") != std::string_view::npos;
    answer.status = cover && !body_.empty() && (body_[0] & 1) ? 307 : 200;
    answer.location = "http://images.example.org/next";
    answer.body.assign(body_.begin(), body_.end());
    return answer;
  }

 private:
  std::string_view body_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  tunora::parseReleaseSearch(body);
  InputService client(body);
  tunora::MusicBrainzSource source(client, {}, std::chrono::milliseconds(0));
  tunora::CoverResults results;
  source.search(body, results);
  source.findCover(body);
  // As `covers get` asks: a whole JPEG that decodes, or nothing.
  source.acceptOnlyWholeJpegs();
  source.findCover(body);
  return 0;
}
