#include "formats/monkeys_audio_info.h"

namespace tunora {
namespace {

constexpr std::uint16_t kDescriptorVersion = 3980;

struct Frames {
  std::uint32_t blocksPerFrame = 0;
  std::uint32_t finalFrameBlocks = 0;
  std::uint32_t totalFrames = 0;
};

// Every frame but the last holds the full count of blocks (one sample per
// channel each).
std::uint64_t totalBlocks(const Frames& frames) {
  if (frames.totalFrames == 0) return 0;
  return std::uint64_t{frames.totalFrames - 1} * frames.blocksPerFrame + frames.finalFrameBlocks;
}

// Descriptor: signature, version, padding, then its own size (52 bytes in
// practice); the header follows at that size.
std::optional<AudioHeaderValues> parseCurrent(Bytes bytes) {
  ByteReader reader{bytes};
  reader.skip(8);
  const auto descriptorSize = reader.u32le();
  if (!descriptorSize || !reader.seek(*descriptorSize)) return std::nullopt;
  reader.skip(4);  // compression level, format flags
  const auto blocksPerFrame = reader.u32le();
  const auto finalFrameBlocks = reader.u32le();
  const auto totalFrames = reader.u32le();
  reader.skip(2);  // bits per sample
  const auto channels = reader.u16le();
  const auto sampleRate = reader.u32le();
  if (!blocksPerFrame || !finalFrameBlocks || !totalFrames || !channels || !sampleRate)
    return std::nullopt;
  const Frames frames{*blocksPerFrame, *finalFrameBlocks, *totalFrames};
  return AudioHeaderValues{*sampleRate, *channels, totalBlocks(frames)};
}

// The blocks per frame that the older versions fixed by version and level.
std::uint32_t olderBlocksPerFrame(std::uint16_t version, std::uint16_t compressionLevel) {
  constexpr std::uint16_t kExtraHigh = 4000;
  if (version >= 3950) return 73728 * 4;
  if (version >= 3900 || (version >= 3800 && compressionLevel == kExtraHigh)) return 73728;
  return 9216;
}

std::optional<AudioHeaderValues> parseOlder(Bytes bytes, std::uint16_t version) {
  ByteReader reader{bytes};
  reader.skip(6);
  const auto compressionLevel = reader.u16le();
  reader.skip(2);  // format flags
  const auto channels = reader.u16le();
  const auto sampleRate = reader.u32le();
  reader.skip(8);  // header and terminating data sizes
  const auto totalFrames = reader.u32le();
  const auto finalFrameBlocks = reader.u32le();
  if (!compressionLevel || !channels || !sampleRate || !totalFrames || !finalFrameBlocks)
    return std::nullopt;
  const Frames frames{olderBlocksPerFrame(version, *compressionLevel), *finalFrameBlocks,
                      *totalFrames};
  return AudioHeaderValues{*sampleRate, *channels, totalBlocks(frames)};
}

}  // namespace

std::optional<AudioHeaderValues> parseMonkeysAudioHeader(Bytes bytes) {
  ByteReader reader{bytes};
  const auto magic = reader.bytes(4);
  const auto version = reader.u16le();
  if (!magic || !startsWith(*magic, "MAC ") || !version) return std::nullopt;
  return *version >= kDescriptorVersion ? parseCurrent(bytes) : parseOlder(bytes, *version);
}

ReadResult MonkeysAudioInfo::readFile(const std::u16string& path) {
  return readHeaderAndTags(path, kMonkeysAudioHeaderPeek, "no Monkey's Audio header found");
}

}  // namespace tunora
