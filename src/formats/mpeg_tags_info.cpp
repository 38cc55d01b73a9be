#include "formats/mpeg_tags_info.h"

#include <new>

#include "formats/playing_time.h"

namespace tunora {

ReadResult MpegTagsInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  try {
    FileBlocks blocks(*file, file->size());
    if (const auto block = readID3v1Block(blocks)) id3v1_.parse(*block);
    readStream(blocks, id3v2_.read(blocks, coverBytes()));
    std::uint64_t apev2Bytes = 0;
    if (const auto block = readAPEv2Block(blocks, APEv2Search::BeforeID3v1First)) {
      apev2_.parse(*block, coverBytes());
      if (apev2_.isPresent()) apev2Bytes = block->size();
    }
    estimateMilliseconds(blocks.length(), apev2Bytes);
  } catch (const std::bad_alloc&) {
    takeValues();
    return ReadResult::Incomplete;
  }
  takeValues();
  warnIfNothingFound(missingStream());
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

void MpegTagsInfo::estimateMilliseconds(std::int64_t length, std::uint64_t apev2Bytes) {
  if (!meanRate_) return;
  const std::uint64_t tagBytes =
      (id3v1_.isPresent() ? ID3v1Tag::kSize : 0) + apev2Bytes + ownTrailingBytes_;
  const auto audioEnd = static_cast<std::uint64_t>(length);
  const auto audioStart = static_cast<std::uint64_t>(meanRate_->audioStart);
  if (audioEnd <= audioStart || audioEnd - audioStart <= tagBytes) return;
  setMilliseconds(millisecondsOfBytes(audioEnd - audioStart - tagBytes, meanRate_->bitsPerSecond));
}

bool MpegTagsInfo::isPresent(TagKind kind) const {
  switch (kind) {
    case TagKind::ID3v1:
      return id3v1_.isPresent();
    case TagKind::ID3v2:
      return id3v2_.isPresent();
    case TagKind::Lyrics3:
      return lyrics3_.isPresent();
    case TagKind::APEv2:
      return apev2_.isPresent();
    default:
      return false;
  }
}

void MpegTagsInfo::takeValues() {
  // The first present tag answers every text query, even where it lacks the
  // value and a later tag has it.
  for (const TagKind kind : fieldPrecedence()) {
    if (!isPresent(kind)) continue;
    if (kind == TagKind::ID3v1) {
      takeTagValues(std::move(id3v1_), id3v1_.genreName());
    } else if (kind == TagKind::ID3v2) {
      takeTagValues(std::move(id3v2_), id3v2_.genre());
    } else if (kind == TagKind::APEv2) {
      takeTagValues(std::move(apev2_), apev2_.genre());
    }
    break;
  }
  // Lyrics3's extended fields stand in only where no other tag gave a text.
  const auto standIn = [](std::optional<std::u16string>& field, const std::u16string& text) {
    if ((!field || field->empty()) && !text.empty()) field = text;
  };
  standIn(track_.title, lyrics3_.title());
  standIn(track_.artist, lyrics3_.artist());
  standIn(track_.album, lyrics3_.album());
  // A Lyrics3 block alone is no tag, but shows in the list.
  track_.hasTag = id3v1_.isPresent() || id3v2_.isPresent() || apev2_.isPresent();
  std::vector<TagKind> present;
  for (const TagKind kind : {TagKind::ID3v1, TagKind::ID3v2, TagKind::Lyrics3, TagKind::APEv2})
    if (isPresent(kind)) present.push_back(kind);
  track_.tagKinds = presentTagsText(present);
  takeCommentAndLyrics();
}

bool MpegTagsInfo::hasComment() const {
  return (apev2_.isPresent() && apev2_.hasComment()) ||
         (id3v2_.isPresent() && id3v2_.hasComment()) || (id3v1_.isPresent() && id3v1_.hasComment());
}

void MpegTagsInfo::takeCommentAndLyrics() {
  // An ID3v1 tag answers with its buffer even when that holds no comment.
  if (apev2_.isPresent() && apev2_.hasComment())
    track_.comment = std::move(apev2_).takeComment();
  else if (id3v2_.isPresent() && id3v2_.hasComment())
    track_.comment = std::move(id3v2_).takeComment();
  else if (id3v1_.isPresent())
    track_.comment = std::move(id3v1_).takeComment();
  for (const TagKind kind : lyricsPrecedence()) {
    if (kind == TagKind::ID3v2 && id3v2_.isPresent() && id3v2_.hasLyrics())
      return takeLyrics(std::move(id3v2_).takeLyrics());
    if (kind == TagKind::Lyrics3 && lyrics3_.isPresent() && lyrics3_.hasLyrics())
      return takeLyrics(std::move(lyrics3_).takeLyrics());
    if (kind == TagKind::APEv2 && apev2_.isPresent() && apev2_.hasLyrics())
      return takeLyrics(std::move(apev2_).takeLyrics());
  }
}

// The ID3v2 picture, else the APEv2 tag's front cover.
const TagPicture* MpegTagsInfo::cover() const {
  if (id3v2_.isPresent() && id3v2_.hasPicture()) return &id3v2_.tagPicture();
  if (apev2_.isPresent() && apev2_.hasPicture()) return &apev2_.tagPicture();
  return nullptr;
}

bool MpegTagsInfo::hasCover() const {
  return cover() != nullptr;
}

const std::vector<std::uint8_t>* MpegTagsInfo::getCoverData() const {
  return hasCover() && coverBytes() == CoverBytes::Kept ? &cover()->bytes() : nullptr;
}

std::size_t MpegTagsInfo::getCoverSize() const {
  return hasCover() ? cover()->size() : 0;
}

}  // namespace tunora
