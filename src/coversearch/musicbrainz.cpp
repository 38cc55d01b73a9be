#include "coversearch/musicbrainz.h"

#include <algorithm>
#include <thread>

#include "coversearch/store_client.h"
#include "io/file.h"
#include "text/ascii_case.h"
#include "text/percent_encoding.h"

namespace tunora {
namespace {

constexpr std::string_view kSearchUrlValue = "MusicBrainzUrl";
constexpr std::string_view kCoverArtUrlValue = "CoverArtArchiveUrl";
constexpr std::size_t kUrlMaxLength = 1024;

// The most a search answer may take.
constexpr std::size_t kMaxSearchBytes = 2 * 1024 * 1024;
// The archive answers with a redirect to the image, which may redirect once
// more; a longer chain is a loop.
constexpr int kMaxRedirects = 5;
// A busy service names its wait; longer waits than this are not sat out.
constexpr long kMaxRetryWaitSeconds = 10;
constexpr std::size_t kMaxKeywords = 16;

bool isWebAddress(std::string_view url) {
  return equalIgnoringAsciiCase(url.substr(0, 7), "http://") ||
         equalIgnoringAsciiCase(url.substr(0, 8), "https://");
}

std::vector<std::string_view> wordsOf(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while ((start = text.find_first_not_of(" \t", start)) != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
    words.push_back(text.substr(start, end - start));
    start = end;
  }
  return words;
}

std::string withoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

}  // namespace

MusicBrainzService loadMusicBrainzService(const SettingsStore& store) {
  MusicBrainzService service;
  if (const auto reader = store.openForReading()) {
    for (auto [name, url] : {std::pair{kSearchUrlValue, &service.searchUrl},
                             std::pair{kCoverArtUrlValue, &service.coverArtUrl}}) {
      auto text = reader->readText(name, kUrlMaxLength + 1);
      if (text && isWebAddress(*text)) *url = std::move(*text);
    }
  }
  return service;
}

void saveMusicBrainzService(SettingsStore& store, const MusicBrainzService& service) {
  if (const auto writer = store.createForWriting()) {
    writer->writeText(kSearchUrlValue, service.searchUrl);
    writer->writeText(kCoverArtUrlValue, service.coverArtUrl);
  }
}

std::string musicBrainzUserAgent() {
  return "Tunora/" TUNORA_VERSION " ( https://tunora.example.org/contact )";
}

std::string escapeSearchTerm(std::string_view text) {
  constexpr std::string_view kOperators = "+-&|!(){}[]^\"~*?:\\/";
  std::string escaped;
  for (const char c : text) {
    if (kOperators.find(c) != std::string_view::npos) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string releaseQuery(std::string_view keywords) {
  std::string query;
  std::size_t count = 0;
  for (const std::string_view word : wordsOf(keywords)) {
    if (++count > kMaxKeywords) break;
    const std::string term = escapeSearchTerm(word);
    query += (query.empty() ? "" : " AND ") + ("(release:" + term + " OR artist:" + term + ")");
  }
  return query;
}

MusicBrainzSource::MusicBrainzSource(HttpClient& client, MusicBrainzService service,
                                     std::chrono::milliseconds spacing)
    : client_(client),
      service_{withoutTrailingSlash(std::move(service.searchUrl)),
               withoutTrailingSlash(std::move(service.coverArtUrl))},
      spacing_(spacing) {}

std::optional<ServiceAnswer> MusicBrainzSource::ask(const std::string& url, std::size_t maxBytes,
                                                    bool paced) {
  const Payload payload = paced ? Payload::Page : Payload::Picture;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (paced) {
      if (lastSearch_) std::this_thread::sleep_until(*lastSearch_ + spacing_);
      lastSearch_ = std::chrono::steady_clock::now();
    }
    auto answer = client_.fetchFromService(url, musicBrainzUserAgent(), maxBytes, payload);
    if (!answer) {
      noteFailure(&fetch_.failure, url,
                  client_.lastError().empty() ? std::string("no answer") : client_.lastError());
      return answer;
    }
    if (answer->status != 503 || attempt == 1) return answer;
    // Busy: wait as asked (within reason), then once more.
    const long wait = std::clamp(answer->retryAfterSeconds.value_or(1), 0L, kMaxRetryWaitSeconds);
    std::this_thread::sleep_for(std::chrono::seconds(wait));
  }
  return std::nullopt;
}

bool MusicBrainzSource::search(std::string_view keywords, CoverResults& results) {
  const std::string url = service_.searchUrl + "/ws/2/release/?query=" +
                          percentEncode(releaseQuery(keywords), PercentEncoding::UrlComponent) +
                          "&fmt=json&limit=25";
  const auto answer = ask(url, kMaxSearchBytes, true);
  if (!answer) return false;
  if (answer->status != 200) {
    noteFailure(&fetch_.failure, url, "HTTP status " + std::to_string(answer->status));
    return false;
  }
  const auto releases =
      parseReleaseSearch({reinterpret_cast<const char*>(answer->body.data()), answer->body.size()});
  if (!releases) {
    noteFailure(&fetch_.failure, url, "the answer is no list of releases");
    return false;
  }
  for (const FoundRelease& release : *releases)
    results.push_back({release.id, release.text, std::nullopt});
  return true;
}

std::optional<std::vector<std::uint8_t>> MusicBrainzSource::findCover(std::string_view releaseId) {
  std::string url = service_.coverArtUrl + "/release/" +
                    percentEncode(releaseId, PercentEncoding::UrlComponent) + "/front-500";
  for (int hop = 0; hop <= kMaxRedirects; ++hop) {
    auto answer = ask(url, kMaxPictureBytes, false);
    if (!answer) return std::nullopt;
    if (answer->status >= 300 && answer->status < 400) {
      // Only to another web address: never a file or another scheme.
      if (!isWebAddress(answer->location)) {
        noteFailure(&fetch_.failure, url, "redirect to a place that is no web address");
        return std::nullopt;
      }
      url = answer->location;
      continue;
    }
    if (const auto fault = pictureFault(*answer, fetch_.wholeJpegOnly)) {
      noteFailure(&fetch_.failure, url, *fault);
      return std::nullopt;
    }
    return std::move(answer->body);
  }
  noteFailure(&fetch_.failure, url, "too many redirects");
  return std::nullopt;
}

std::string MusicBrainzSource::pageUrl(std::string_view releaseId) const {
  return service_.searchUrl + "/release/" + percentEncode(releaseId, PercentEncoding::UrlComponent);
}

}  // namespace tunora
