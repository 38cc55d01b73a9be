#include "trackinfo/track_info.h"

namespace tunora {
namespace {

// What a getter gave, moved out of the reader's own value when it came from
// there and moving is allowed, copied otherwise (a subclass may show another).
template <typename Value>
std::optional<Value> copiedOrTaken(const Value* shown, std::optional<Value>& own, bool moveOwn) {
  if (shown == nullptr) return std::nullopt;
  if (moveOwn && own && shown == &*own) return std::move(own);
  return *shown;
}

// A text as its query showed it, moved out of the reader's own value when
// that is what the query showed and moving is allowed.
std::optional<std::u16string> shownOrTaken(const std::u16string& shown,
                                           std::optional<std::u16string>& own, bool moveOwn) {
  if (moveOwn && own && &shown == &*own) return knownText(std::move(*own));
  return knownText(shown);
}

template <typename Value>
Value copiedOrMoved(Value& own, bool moveOwn) {
  return moveOwn ? std::move(own) : own;
}

}  // namespace

ReadResult TrackInfo::readFile(const std::u16string&) {
  return ReadResult::NotRecognised;
}

std::u16string TrackInfo::getSampleRate() const {
  return shownFigure(track_.stream.sampleRate, track_.stream.known);
}

std::u16string TrackInfo::getStereoMode() const {
  return shownFigure(track_.stream.channels, track_.stream.known);
}

std::u16string TrackInfo::getBitrate() const {
  return shownFigure(kilobitFigure(track_.stream), track_.stream.known);
}

// Through the queries, as a reader may answer them from tags of its own.
Track TrackInfo::makeTrack(bool moveOwn) {
  Track track;
  track.title = shownOrTaken(getTitle(), track_.title, moveOwn);
  track.artist = shownOrTaken(getArtist(), track_.artist, moveOwn);
  track.album = shownOrTaken(getAlbum(), track_.album, moveOwn);
  track.year = shownOrTaken(getYear(), track_.year, moveOwn);
  track.genre = shownOrTaken(getGenre(), track_.genre, moveOwn);
  track.trackNumber = shownOrTaken(getTrackNumber(), track_.trackNumber, moveOwn);
  track.fileName = copiedOrMoved(track_.fileName, moveOwn);
  track.albumArtist = copiedOrMoved(track_.albumArtist, moveOwn);
  track.discNumber = copiedOrMoved(track_.discNumber, moveOwn);
  track.composer = copiedOrMoved(track_.composer, moveOwn);
  track.stream = track_.stream;
  track.tagKinds = copiedOrMoved(track_.tagKinds, moveOwn);
  track.hasTag = hasTag();
  track.hasComment = hasComment();
  track.hasLyrics = hasLyrics();
  track.comment = copiedOrTaken(getComment(), track_.comment, moveOwn);
  track.lyrics = copiedOrTaken(getLyrics(), track_.lyrics, moveOwn);
  track.hasCover = hasCover();
  track.coverSize = getCoverSize();
  track.cover = copiedOrTaken(getCoverData(), track_.cover, moveOwn);
  return track;
}

void TrackInfo::takeComment(std::optional<TextLines> lines) {
  track_.hasComment = lines.has_value();
  track_.comment = std::move(lines);
}

void TrackInfo::takeLyrics(std::optional<TextLines> lines) {
  track_.hasLyrics = lines.has_value();
  track_.lyrics = std::move(lines);
}

void TrackInfo::takeCover(Bytes picture) {
  takeCoverSize(picture.size());
  track_.cover.reset();
  if (track_.hasCover && coverBytes_ == CoverBytes::Kept)
    track_.cover.emplace(picture.begin(), picture.end());
}

bool TrackInfo::takeCover(FileBlocks& blocks, std::int64_t offset, std::uint64_t size) {
  if (coverBytes_ == CoverBytes::Kept) {
    const auto picture = blocks.read(offset, size);
    if (picture) takeCover(*picture);
    return picture.has_value();
  }
  // The bounds a read would check, so that both ways agree on every file.
  if (offset < 0 || offset > blocks.length() ||
      size > static_cast<std::uint64_t>(blocks.length() - offset) || size > SIZE_MAX)
    return false;
  takeCoverSize(static_cast<std::size_t>(size));
  return true;
}

void TrackInfo::takeCoverSize(std::size_t size) {
  track_.coverSize = size;
  track_.hasCover = size > 0;
}

void TrackInfo::setBitsPerSecond(std::uint64_t bits, KilobitUnit shownIn) {
  stream().bitsPerSecond = bits == 0 ? std::nullopt : std::optional(bits);
  track_.stream.shownIn = shownIn;
}

void TrackInfo::setKilobitsPerSecond(std::uint64_t kilobits) {
  // Capped first, so that the product cannot wrap.
  setBitsPerSecond(std::min(kilobits, kMaxBitrateFigure) * 1000, KilobitUnit::Decimal);
}

void TrackInfo::warnIfNothingFound(std::string_view missing) {
  const StreamFigures& figures = track_.stream;
  const bool streamFound = figures.bitsPerSecond || figures.sampleRate || figures.channels;
  if (!hasTag() && !streamFound) readWarning_ = missing;
}

ReadResult TrackInfo::notRecognised(std::string_view missing) {
  warnIfNothingFound(missing);
  return ReadResult::NotRecognised;
}

}  // namespace tunora
