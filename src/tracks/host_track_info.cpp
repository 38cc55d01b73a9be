#include "tracks/host_track_info.h"

#include "text/ascii_case.h"
#include "text/year_and_genre.h"

namespace tunora {

HostTrackInfo::HostTrackInfo(const HostLink& host) : host_(host) {
  clearStreamTexts();
}

ReadResult HostTrackInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  if (!host_.playerPresent()) return ReadResult::NotOpened;
  setSampleRate(host_.streamProperty(StreamProperty::SampleRateKHz) * 1000);
  setKilobitsPerSecond(host_.streamProperty(StreamProperty::BitrateKbps));
  setChannels(host_.streamProperty(StreamProperty::Channels));
  track_.title = ask("Title");
  track_.artist = ask("Artist");
  track_.album = ask("Album");
  track_.year = ask("Year");
  track_.genre = ask("Genre");
  track_.trackNumber = ask("Track");
  takeComment(askLines("Comment"));
  takeLyrics(askLines("Lyrics"));
  return ReadResult::Read;
}

const std::u16string& HostTrackInfo::getYear() {
  if (track_.year) reduceYear(*track_.year);
  return shown(track_.year);
}

const std::u16string& HostTrackInfo::getGenre() {
  if (track_.genre) stripGenreNumber(*track_.genre);
  return shown(track_.genre);
}

std::optional<std::u16string> HostTrackInfo::ask(std::string_view key) const {
  auto answer = host_.fileInfo(track_.fileName, key);
  if (!answer || answer->empty()) return std::nullopt;
  return answer;
}

std::optional<TextLines> HostTrackInfo::askLines(std::string_view key) const {
  const auto answer = ask(key);
  if (!answer || toLowerAscii(*answer) == u"unknown") return std::nullopt;
  std::optional<TextLines> lines{std::in_place};
  for (const char16_t unit : *answer) lines->appendUnit(unit);
  return lines;
}

}  // namespace tunora
