#include "formats/mpc_info.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "formats/mpc_stream_header.h"
#include "formats/playing_time.h"
#include "io/file.h"
#include "tags/id3v2_tag.h"
#include "trackinfo/tag_kind.h"

namespace tunora {

ReadResult MPCInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  const std::int64_t length = file->size();
  FileBlocks blocks(*file, length);

  // The APEv2 tag is looked for at the very end first; only when it is not
  // there can an ID3v1 tag end the file.
  const auto tail = blocks.read(length - 32, 32);
  const bool apev2AtEnd = length > 32 && tail && startsWith(*tail, "APETAGEX");
  // Where the tags begin, so that a bit rate counts the audio alone.
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
  readStream(blocks, tagsStart);
  warnIfNothingFound("no Musepack stream header found");
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

void MPCInfo::readStream(FileBlocks& blocks, std::int64_t tagsStart) {
  const std::int64_t length = blocks.length();
  // An ID3v2 tag at the start is skipped, not read.
  std::int64_t audioStart = 0;
  if (length > static_cast<std::int64_t>(ID3v2Tag::kHeaderSize)) {
    const auto header = blocks.read(0, ID3v2Tag::kHeaderSize);
    if (const auto tagEnd = header ? id3v2TagEnd(*header) : std::nullopt) audioStart = *tagEnd;
  }
  const auto magic = blocks.read(audioStart, 4);
  if (magic && startsWith(*magic, "MPCK")) {
    readPackets(blocks, audioStart + 4, tagsStart);
    return;
  }
  if (audioStart + static_cast<std::int64_t>(kMusepackHeaderSize) >= length) return;
  const auto bytes = blocks.read(audioStart, kMusepackHeaderSize);
  const auto stream = bytes ? parseMusepackHeader(*bytes) : std::nullopt;
  if (!stream) return;
  if (stream->channels) setChannels(*stream->channels);
  setSampleRate(stream->sampleRate);
  setKilobitsPerSecond(musepackKilobits(*stream, static_cast<std::uint64_t>(length - audioStart)));
  // The frame count in full: the samples above wrap at 32 bits. Streams
  // before version 6 count one frame more than they hold.
  const std::uint64_t frames = stream->frames - (stream->version < 6 && stream->frames > 0 ? 1 : 0);
  if (frames > 0) setMilliseconds(millisecondsOf(frames * 1152 - 576, stream->sampleRate));
}

void MPCInfo::readPackets(FileBlocks& blocks, std::int64_t offset, std::int64_t streamEnd) {
  // The header packets come first; the audio packets then run up to the
  // seek table and the end packet, a few bytes that are counted along.
  constexpr int kMaxPacketsBeforeAudio = 1000;
  std::optional<MusepackStream> stream;
  std::optional<std::int64_t> audioStart;
  for (int packets = 0; packets < kMaxPacketsBeforeAudio && offset < streamEnd; ++packets) {
    const auto available = static_cast<std::uint64_t>(streamEnd - offset);
    const auto header =
        blocks.read(offset, std::min<std::uint64_t>(available, kMusepackPacketHeaderMax));
    const auto packet = header ? parseMusepackPacketHeader(*header) : std::nullopt;
    if (!packet || packet->is("SE")) break;
    if (packet->is("AP")) {
      audioStart = offset;
      break;
    }
    if (packet->size > available) break;
    if (packet->is("SH") && !stream) {
      const std::uint64_t payloadSize = packet->size - packet->headerSize;
      const auto payload =
          blocks.read(offset + packet->headerSize,
                      std::min<std::uint64_t>(payloadSize, kMusepackStreamHeaderMax));
      if (payload) stream = parseMusepackStreamHeader(*payload);
    }
    offset += static_cast<std::int64_t>(packet->size);
  }
  if (!stream) return;
  if (stream->channels) setChannels(*stream->channels);
  setSampleRate(stream->sampleRate);
  setMilliseconds(millisecondsOf(stream->samples, stream->sampleRate));
  if (audioStart)
    setKilobitsPerSecond(
        musepackKilobits(*stream, static_cast<std::uint64_t>(streamEnd - *audioStart)));
}

void MPCInfo::takeValues() {
  const bool ape = apev2_.isPresent();
  const bool id3v1 = id3v1_.isPresent();
  track_.hasTag = ape || id3v1;
  if (ape && apev2_.hasPicture()) {
    // The APEv2 front cover is the only picture a Musepack file carries.
    if (coverBytes() == CoverBytes::Kept)
      takeCover(apev2_.picture());
    else
      takeCoverSize(apev2_.pictureSize());
  }
  if (ape) {
    takeTagValues(apev2_, apev2_.genre());
  } else if (id3v1) {
    takeTagValues(id3v1_, id3v1_.genreName());
  }
  std::vector<TagKind> present;
  if (id3v1) present.push_back(TagKind::ID3v1);
  if (ape) present.push_back(TagKind::APEv2);
  track_.tagKinds = presentTagsText(present);
}

bool MPCInfo::hasComment() const {
  return (apev2_.isPresent() && apev2_.hasComment()) || (id3v1_.isPresent() && id3v1_.hasComment());
}

bool MPCInfo::hasLyrics() const {
  return apev2_.isPresent() && apev2_.hasLyrics();
}

const TextLines* MPCInfo::getComment() const {
  if (apev2_.isPresent() && apev2_.hasComment()) return &apev2_.comment();
  if (id3v1_.isPresent()) return &id3v1_.comment();
  return nullptr;
}

const TextLines* MPCInfo::getLyrics() const {
  return hasLyrics() ? &apev2_.lyrics() : nullptr;
}

}  // namespace tunora
