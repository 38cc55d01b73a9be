#pragma once
// Covers from MusicBrainz: releases found through its web service's search,
// their front covers from the Cover Art Archive. Both services ask their
// clients to name themselves in the user agent, and the search service to
// send at most one request per second.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "coversearch/cover_results.h"
#include "coversearch/cover_source.h"
#include "coversearch/http_client.h"
#include "settings/settings_store.h"

namespace tunora {

// How the source is named among the store fronts.
inline constexpr std::string_view kMusicBrainzSourceName = "MusicBrainz";

// Where the two services answer; settings, so that tests can point them at a
// local server.
struct MusicBrainzService {
  std::string searchUrl{"https://musicbrainz.org"};
  std::string coverArtUrl{"https://coverartarchive.org"};
};
MusicBrainzService loadMusicBrainzService(const SettingsStore& store);
void saveMusicBrainzService(SettingsStore& store, const MusicBrainzService& service);

// "Tunora/<version> ( <contact> )", as the services ask.
std::string musicBrainzUserAgent();

// The text with every character that the search syntax reads as an operator
// preceded by a backslash.
std::string escapeSearchTerm(std::string_view text);
// Every keyword must occur in the release's title or in its artist's name.
std::string releaseQuery(std::string_view keywords);

struct FoundRelease {
  std::string id;
  // "Artist - Title (year, country, format)", without what is unknown.
  std::string text;
};
// The releases of a search answer; nothing when it is not the JSON the
// service sends (malformed, nested too deep, the wrong types).
std::optional<std::vector<FoundRelease>> parseReleaseSearch(std::string_view json);

class MusicBrainzSource final : public CoverSource {
 public:
  MusicBrainzSource(HttpClient& client, MusicBrainzService service,
                    std::chrono::milliseconds spacing = std::chrono::seconds(1));

  // Appends the releases found; false when the service gave no usable answer.
  bool search(std::string_view keywords, CoverResults& results) override;
  // The release's front cover, a JPEG; nothing when the release has none or
  // it is something else.
  std::optional<std::vector<std::uint8_t>> findCover(std::string_view releaseId) override;
  // The release's page on the service's site.
  std::string pageUrl(std::string_view releaseId) const override;

 private:
  std::optional<ServiceAnswer> ask(const std::string& url, std::size_t maxBytes, bool paced);

  HttpClient& client_;
  MusicBrainzService service_;
  std::chrono::milliseconds spacing_;
  std::optional<std::chrono::steady_clock::time_point> lastSearch_;
};

}  // namespace tunora
