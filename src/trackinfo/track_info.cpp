#include "trackinfo/track_info.h"

namespace tunora {
namespace {

std::optional<std::u16string> given(const std::u16string& text) {
  if (text == kUnknown) return std::nullopt;
  return text;
}

std::optional<TextLines> copied(const TextLines* lines) {
  if (lines == nullptr) return std::nullopt;
  std::optional<TextLines> copy{std::in_place};
  copy->assign(*lines);
  return copy;
}

}  // namespace

ReadResult TrackInfo::readFile(const std::u16string&) {
  return ReadResult::NotRecognised;
}

std::u16string TrackInfo::getSampleRate() const {
  return shownFigure(stream_.sampleRate, stream_.known);
}

std::u16string TrackInfo::getStereoMode() const {
  return shownFigure(stream_.channels, stream_.known);
}

std::u16string TrackInfo::getBitrate() const {
  return shownFigure(stream_.kilobits, stream_.known);
}

Track TrackInfo::toTrack() {
  Track track;
  track.fileName = getFileName();
  track.title = given(getTitle());
  track.artist = given(getArtist());
  track.album = given(getAlbum());
  track.year = given(getYear());
  track.genre = given(getGenre());
  track.trackNumber = given(getTrackNumber());
  track.stream = stream_;
  track.tagKinds = getPresentTags();
  track.hasTag = hasTag();
  track.hasComment = hasComment();
  track.hasLyrics = hasLyrics();
  track.comment = copied(getComment());
  track.lyrics = copied(getLyrics());
  track.hasCover = hasCover();
  track.coverSize = getCoverSize();
  if (const auto* picture = getCoverData()) track.cover = *picture;
  return track;
}

}  // namespace tunora
