#include "formats/ape_tagged_info.h"

#include <algorithm>
#include <vector>

#include "formats/playing_time.h"
#include "io/file.h"
#include "tags/id3v2_tag.h"
#include "trackinfo/tag_kind.h"

namespace tunora {

ReadResult APETaggedInfo::readHeaderAndTags(const std::u16string& path, std::size_t headerPeek,
                                            std::string_view missing) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  FileBlocks blocks(*file, file->size());
  const std::int64_t tagsStart = readEndTags(blocks);
  const std::int64_t audioStart = startAfterID3v2(blocks);
  if (audioStart < tagsStart) {
    const auto audioBytes = static_cast<std::uint64_t>(tagsStart - audioStart);
    const auto bytes = blocks.read(audioStart, std::min<std::uint64_t>(audioBytes, headerPeek));
    if (const auto header = bytes ? parseHeader(*bytes) : std::nullopt) {
      setSampleRate(header->sampleRate);
      setChannels(header->channels);
      if (header->totalSamples) setLength(*header->totalSamples, header->sampleRate, audioBytes);
    }
  }
  warnIfNothingFound(missing);
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

std::int64_t APETaggedInfo::readEndTags(FileBlocks& blocks) {
  const std::int64_t length = blocks.length();
  // The APEv2 tag is looked for at the very end first; only when it is not
  // there can an ID3v1 tag end the file.
  const auto tail = blocks.read(length - 32, 32);
  const bool apev2AtEnd = length > 32 && tail && startsWith(*tail, "APETAGEX");
  std::int64_t tagsStart = length;
  if (!apev2AtEnd && length > 160) {
    if (const auto block = readID3v1Block(blocks)) {
      id3v1_.parse(*block);
      tagsStart -= static_cast<std::int64_t>(block->size());
    }
  }
  if (const auto block = readAPEv2Block(blocks, APEv2Search::AtEndFirst)) {
    apev2_.parse(*block, coverBytes());
    tagsStart = (apev2AtEnd ? length : length - 128) - static_cast<std::int64_t>(block->size());
  }
  takeValues();
  return tagsStart;
}

std::int64_t APETaggedInfo::startAfterID3v2(FileBlocks& blocks) {
  if (blocks.length() <= static_cast<std::int64_t>(ID3v2Tag::kHeaderSize)) return 0;
  const auto header = blocks.read(0, ID3v2Tag::kHeaderSize);
  const auto tagEnd = header ? id3v2TagEnd(*header) : std::nullopt;
  return tagEnd ? *tagEnd : 0;
}

void APETaggedInfo::setLength(std::uint64_t samples, std::uint32_t sampleRate,
                              std::uint64_t audioBytes) {
  const std::uint64_t milliseconds = millisecondsOf(samples, sampleRate);
  setMilliseconds(milliseconds);
  if (milliseconds == 0) return;
  // Audio sizes come from the file's length: 8000 times that fits in 64 bits.
  setBitsPerSecond((audioBytes * 8000 + milliseconds / 2) / milliseconds, KilobitUnit::Decimal);
}

void APETaggedInfo::takeValues() {
  const bool ape = apev2_.isPresent();
  const bool id3v1 = id3v1_.isPresent();
  track_.hasTag = ape || id3v1;
  if (ape && apev2_.hasPicture()) {
    // The APEv2 front cover is the only picture these formats carry.
    if (coverBytes() == CoverBytes::Kept)
      takeCover(apev2_.picture());
    else
      takeCoverSize(apev2_.pictureSize());
  }
  if (ape) {
    takeTagValues(std::move(apev2_), apev2_.genre());
  } else if (id3v1) {
    takeTagValues(std::move(id3v1_), id3v1_.genreName());
  }
  std::vector<TagKind> present;
  if (id3v1) present.push_back(TagKind::ID3v1);
  if (ape) present.push_back(TagKind::APEv2);
  track_.tagKinds = presentTagsText(present);
  // Handed to the track, which passes them on without a copy. An ID3v1 tag
  // answers with its buffer even when that holds no comment.
  if (ape && apev2_.hasComment())
    track_.comment = std::move(apev2_).takeComment();
  else if (id3v1)
    track_.comment = std::move(id3v1_).takeComment();
  if (ape && apev2_.hasLyrics()) takeLyrics(std::move(apev2_).takeLyrics());
}

bool APETaggedInfo::hasComment() const {
  return (apev2_.isPresent() && apev2_.hasComment()) || (id3v1_.isPresent() && id3v1_.hasComment());
}

}  // namespace tunora
