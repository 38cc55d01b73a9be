#include "formats/mp3_info.h"

#include <algorithm>
#include <array>

namespace tunora {
namespace {

constexpr std::size_t kFirstFrameRead = 24;
constexpr std::size_t kXingRead = 16;
constexpr std::uint8_t kXingFramesFlag = 0x01;
constexpr std::uint8_t kXingBytesFlag = 0x02;
constexpr std::size_t kHeaderSize = 4;
// Each scan block also holds the longest frame and the header behind it, so
// that a candidate is confirmed without another read.
constexpr std::int64_t kScanBlock = 16 * 1024;
constexpr std::int64_t kScanOverlap = kMaxMpegFrameLength + kHeaderSize;

// Bits per second from a Xing header's byte and frame counts; 0 without both.
std::uint64_t xingBitsPerSecond(Bytes xing, const MpegFrameHeader& header) {
  ByteReader reader{xing};
  reader.skip(7);
  const auto flags = reader.u8();
  const auto frames = reader.u32be();
  const auto bytes = reader.u32be();
  if (!flags || !frames || !bytes) return 0;
  if ((*flags & (kXingFramesFlag | kXingBytesFlag)) != (kXingFramesFlag | kXingBytesFlag) ||
      *frames == 0 || header.sampleRate == 0)
    return 0;
  // Bytes per frame x 8 over the samples per frame, times the sample rate.
  const double bytesPerSampleAndBit = header.samplesPerFrame() / 8.0;
  const double bitsPerSecond =
      static_cast<double>(*bytes) / *frames * header.sampleRate / bytesPerSampleAndBit;
  return static_cast<std::uint64_t>(bitsPerSecond);
}

// A header at `at` inside `block` whose frame is followed by a header of the
// same stream, also inside `block`.
std::optional<MpegFrameHeader> confirmedHeader(Bytes block, std::size_t at) {
  const auto header = parseMpegFrameHeader(block.subspan(at));
  if (!header) return std::nullopt;
  const std::uint32_t length = header->frameLength();
  if (length == 0 || length > block.size() - at) return std::nullopt;
  const auto next = parseMpegFrameHeader(block.subspan(at + length));
  if (!next || !header->sameStream(*next)) return std::nullopt;
  return header;
}

}  // namespace

std::optional<FoundFrame> findFrameHeader(FileBlocks& blocks, std::int64_t streamStart) {
  const std::int64_t length = blocks.length();
  if (length > streamStart + static_cast<std::int64_t>(kFirstFrameRead)) {
    const auto first = blocks.read(streamStart, kFirstFrameRead);
    if (!first) return std::nullopt;
    if (const auto header = parseMpegFrameHeader(*first)) return FoundFrame{streamStart, *header};
  }
  const std::int64_t scanEnd = std::min(length, streamStart + kFrameScanLimit);
  for (std::int64_t position = streamStart + 1; position < scanEnd; position += kScanBlock) {
    const std::int64_t end = std::min(length, position + kScanBlock + kScanOverlap);
    const auto block = blocks.read(position, static_cast<std::uint64_t>(end - position));
    if (!block) return std::nullopt;
    const auto candidates = static_cast<std::size_t>(std::min(kScanBlock, scanEnd - position));
    for (std::size_t i = 0; i < candidates; ++i) {
      if ((*block)[i] != 0xFF) continue;
      if (const auto header = confirmedHeader(*block, i))
        return FoundFrame{position + static_cast<std::int64_t>(i), *header};
    }
  }
  return std::nullopt;
}

void MP3Info::readStream(FileBlocks& blocks, std::int64_t streamStart) {
  if (const auto frame = findFrameHeader(blocks, streamStart)) {
    const MpegFrameHeader& header = frame->header;
    std::uint64_t bitsPerSecond = header.bitsPerSecond;
    // A Xing header marks a variable rate: its counts give the mean. Lame
    // writes the same header as "Info" into a constant-rate stream, whose
    // frame header already holds the rate.
    const auto xing = blocks.read(frame->offset + header.xingOffset(), kXingRead);
    if (xing && startsWith(*xing, "Xing")) bitsPerSecond = xingBitsPerSecond(*xing, header);
    // Absurd Xing counts give no rate at all rather than the largest one.
    const std::uint64_t kilobits = bitsPerSecond / 1000;
    setKilobitsPerSecond(kilobits > kMaxBitrateText ? 0 : kilobits);
    setChannels(header.channels);
    setSampleRate(header.sampleRate);
  }
  if (const auto block = readLyrics3Block(blocks, id3v1_.isPresent())) lyrics3_.parse(*block);
}

std::string_view MP3Info::missingStream() const {
  return "no MPEG audio frame found";
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
