#include "tracks/host_track_info.h"

#include "text/helpers.h"

namespace tunora {

HostTrackInfo::HostTrackInfo(const HostLink& host) : host_(host) {
  clearStreamTexts();
}

ReadResult HostTrackInfo::readFile(const std::u16string& path) {
  fileName_ = path;
  if (!host_.playerPresent()) return ReadResult::NotOpened;
  setSampleRate(host_.streamProperty(StreamProperty::SampleRateKHz) * 1000);
  setKilobitsPerSecond(host_.streamProperty(StreamProperty::BitrateKbps));
  setChannels(host_.streamProperty(StreamProperty::Channels));
  title_ = ask("Title");
  artist_ = ask("Artist");
  album_ = ask("Album");
  year_ = ask("Year");
  genre_ = ask("Genre");
  trackNumber_ = ask("Track");
  commentFound_ = askLines("Comment", comment_);
  lyricsFound_ = askLines("Lyrics", lyrics_);
  return ReadResult::Read;
}

const std::u16string& HostTrackInfo::getYear() {
  reduceYear(year_);
  return year_;
}

const std::u16string& HostTrackInfo::getGenre() {
  stripGenreNumber(genre_);
  return genre_;
}

std::u16string HostTrackInfo::ask(std::string_view key) const {
  auto answer = host_.fileInfo(fileName_, key);
  if (!answer || answer->empty()) return std::u16string(kUnknown);
  return std::move(*answer);
}

bool HostTrackInfo::askLines(std::string_view key, TextLines& lines) const {
  const std::u16string answer = ask(key);
  if (toLowerAscii(answer) == u"unknown") return false;
  lines.clear();
  for (const char16_t unit : answer) lines.appendUnit(unit);
  return true;
}

}  // namespace tunora
