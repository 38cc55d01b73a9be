#include "formats/mpc_info.h"

#include <algorithm>
#include <optional>

#include "formats/mpc_stream_header.h"
#include "formats/playing_time.h"
#include "io/file.h"

namespace tunora {

ReadResult MPCInfo::readFile(const std::u16string& path) {
  track_.fileName = path;
  auto file = File::open(path, File::Mode::Read);
  if (!file) return ReadResult::NotOpened;
  FileBlocks blocks(*file, file->size());
  const std::int64_t tagsStart = readEndTags(blocks);
  readStream(blocks, tagsStart);
  warnIfNothingFound("no Musepack stream header found");
  return file->close() ? ReadResult::Read : ReadResult::Incomplete;
}

void MPCInfo::readStream(FileBlocks& blocks, std::int64_t tagsStart) {
  const std::int64_t length = blocks.length();
  const std::int64_t audioStart = startAfterID3v2(blocks);
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

}  // namespace tunora
