#include "tags/mp3_info.h"

#include <algorithm>
#include <vector>

namespace tunora {
namespace {

// MPEG-1 Layer III, by the header's bit fields; 0 reads as "Unknown".
constexpr std::array<std::uint32_t, 16> kKilobitsPerSecond{0,   32,  40,  48,  56,  64,  80,  96,
                                                           112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::array<std::uint32_t, 4> kSampleRates{44100, 48000, 32000, 0};
// Stereo, joint stereo, dual channel, mono.
constexpr std::array<std::uint32_t, 4> kChannels{2, 2, 2, 1};

constexpr std::size_t kFirstFrameRead = 24;
// Where a Xing header sits in an MPEG-1 stereo frame, and what of it is read.
constexpr std::int64_t kXingOffset = 36;
constexpr std::size_t kXingRead = 24;
constexpr std::uint8_t kXingFramesFlag = 0x01;
constexpr std::uint8_t kXingBytesFlag = 0x02;
// The scan's window and step: consecutive windows overlap by one byte.
constexpr std::int64_t kWindow = 100;
constexpr std::int64_t kWindowStep = 99;
constexpr std::int64_t kScanBlock = 64 * 1024;

bool isSyncPair(std::uint8_t first, std::uint8_t second) {
  return first == 0xFF && (second == 0xFB || second == 0xFA);
}

// Bits per second from a Xing header's byte and frame counts (an MPEG-1
// Layer III frame holds 1152 samples, so bytes per frame x rate / 144 is the
// rate in bit/s); 0 without both counts.
std::uint64_t xingBitsPerSecond(Bytes xing, std::uint32_t sampleRate) {
  ByteReader reader{xing};
  reader.skip(7);
  const auto flags = reader.u8();
  const auto frames = reader.u32be();
  const auto bytes = reader.u32be();
  if (!flags || !frames || !bytes) return 0;
  if ((*flags & (kXingFramesFlag | kXingBytesFlag)) != (kXingFramesFlag | kXingBytesFlag) ||
      *frames == 0 || sampleRate == 0)
    return 0;
  const double bitsPerSecond = static_cast<double>(*bytes) / *frames * sampleRate / 144;
  return static_cast<std::uint64_t>(bitsPerSecond);
}

}  // namespace

std::optional<FrameHeader> findFrameHeader(FileBlocks& blocks, std::int64_t streamStart) {
  const std::int64_t length = blocks.length();
  const auto headerAt = [&](std::int64_t offset) -> std::optional<FrameHeader> {
    const auto bytes = blocks.read(offset, 4);
    if (!bytes) return std::nullopt;
    return FrameHeader{(*bytes)[0], (*bytes)[1], (*bytes)[2], (*bytes)[3]};
  };
  if (length > streamStart + static_cast<std::int64_t>(kFirstFrameRead)) {
    const auto first = blocks.read(streamStart, kFirstFrameRead);
    if (first && isSyncPair((*first)[0], (*first)[1])) return headerAt(streamStart);
  }

  // Windows start at streamStart + 1 + 99k and must end before the file does;
  // a pair is seen when both its bytes lie in one window.
  const std::int64_t scanStart = streamStart + 1;
  if (scanStart + kWindow >= length) return std::nullopt;
  const std::int64_t lastWindow =
      scanStart + (length - kWindow - 1 - scanStart) / kWindowStep * kWindowStep;
  const std::int64_t scanEnd = lastWindow + kWindow;

  for (std::int64_t position = scanStart;;) {
    const std::int64_t end = std::min<std::int64_t>(position + kScanBlock, scanEnd);
    const auto block = blocks.read(position, static_cast<std::uint64_t>(end - position));
    if (!block) return std::nullopt;
    for (std::size_t i = 0; i + 1 < block->size(); ++i)
      if (isSyncPair((*block)[i], (*block)[i + 1]))
        return headerAt(position + static_cast<std::int64_t>(i));
    if (end == scanEnd) return std::nullopt;
    // The last byte is read again as the first of a pair.
    position = end - 1;
  }
}

void MP3Info::readStream(FileBlocks& blocks, std::int64_t streamStart) {
  const std::int64_t length = blocks.length();
  if (const auto header = findFrameHeader(blocks, streamStart)) {
    const std::uint32_t sampleRate = kSampleRates[((*header)[2] >> 2) & 0x03];
    std::uint64_t bitsPerSecond = std::uint64_t{kKilobitsPerSecond[(*header)[2] >> 4]} * 1000;
    // The Xing test looks behind the tag even when the frame was found later.
    if (length > streamStart + kXingOffset + 4) {
      const auto xing = blocks.read(streamStart + kXingOffset, kXingRead);
      if (xing && startsWith(*xing, "Xing")) bitsPerSecond = xingBitsPerSecond(*xing, sampleRate);
    }
    // Absurd Xing counts give no rate at all rather than the largest one.
    const std::uint64_t kilobits = bitsPerSecond / 1000;
    setKilobitsPerSecond(kilobits > kMaxBitrateText ? 0 : kilobits);
    setChannels(kChannels[(*header)[3] >> 6]);
    setSampleRate(sampleRate);
  }
  if (const auto block = readLyrics3Block(blocks, id3v1_.isPresent())) lyrics3_.parse(*block);
}

std::span<const TagKind> MP3Info::fieldPrecedence() const {
  static constexpr std::array kFieldPrecedence{TagKind::ID3v2, TagKind::APEv2, TagKind::ID3v1};
  return kFieldPrecedence;
}

std::span<const TagKind> MP3Info::lyricsPrecedence() const {
  static constexpr std::array kLyricsPrecedence{TagKind::ID3v2, TagKind::APEv2, TagKind::Lyrics3};
  return kLyricsPrecedence;
}

}  // namespace tunora
