#include "formats/mp3_info.h"

#include <algorithm>
#include <array>

#include "formats/playing_time.h"

namespace tunora {
namespace {

constexpr std::size_t kFirstFrameRead = 24;
// The Xing header's name, flags and two counts, which give the mean rate;
// then as much as holds all its optional fields and the LAME tag behind
// them, as far as its encoder delay and padding, where the file has it.
constexpr std::int64_t kXingCountsRead = 16;
constexpr std::int64_t kXingRead = 8 + 4 + 4 + 100 + 4 + 24;
constexpr std::uint8_t kXingFramesFlag = 0x01;
constexpr std::uint8_t kXingBytesFlag = 0x02;
constexpr std::uint8_t kXingTableFlag = 0x04;
constexpr std::uint8_t kXingQualityFlag = 0x08;
// Fraunhofer's VBRI header stands at a fixed place behind the 32 bytes of
// side information.
constexpr std::uint32_t kVbriOffset = 36;
constexpr std::size_t kVbriRead = 26;
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

// The samples the LAME tag says the encoder added before and after the audio;
// 0 without a tag of a version that writes them (3.90 on).
std::uint32_t lameDelayAndPadding(ByteReader& reader) {
  const auto tag = reader.bytes(24);
  if (!tag) return 0;
  const auto text = std::string_view(reinterpret_cast<const char*>(tag->data()), 9);
  std::size_t at = text.starts_with("LAME") ? 4 : text.starts_with("L3.99") ? 1 : 0;
  if (at == 0 || text[at] < '0' || text[at] > '9') return 0;
  const int major = text[at++] - '0';
  if (at < text.size() && text[at] == '.') ++at;
  int minor = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    minor = minor * 10 + text[at] - '0';
  if (major * 1000 + minor < 3090) return 0;
  // Revision 0 of the tag is the only one known; the alpha versions of 3.90
  // wrote text there ("(alpha)").
  if (((*tag)[9] >> 4) != 0) return 0;
  const std::uint32_t delay = (*tag)[21] << 4 | (*tag)[22] >> 4;
  const std::uint32_t padding = ((*tag)[22] & 0x0F) << 8 | (*tag)[23];
  return delay + padding;
}

// The samples a Xing or Info header counts (frames, less what the LAME tag
// says the encoder added); nothing when it counts no frames or is cut short.
std::optional<std::uint64_t> xingSamples(Bytes xing, const MpegFrameHeader& header) {
  ByteReader reader{xing};
  reader.skip(4);
  const auto flags = reader.u32be();
  if (!flags || !(*flags & kXingFramesFlag)) return std::nullopt;
  const auto frames = reader.u32be();
  if (!frames) return std::nullopt;
  const bool fieldsThere = (!(*flags & kXingBytesFlag) || reader.skip(4)) &&
                           (!(*flags & kXingTableFlag) || reader.skip(100)) &&
                           (!(*flags & kXingQualityFlag) || reader.skip(4));
  if (!fieldsThere) return std::nullopt;
  const std::uint64_t samples = std::uint64_t{*frames} * header.samplesPerFrame();
  const std::uint64_t added = lameDelayAndPadding(reader);
  // Old encoders wrote more delay than a short file has samples.
  return samples > added ? samples - added : 0;
}

// The samples of a VBRI header's frame count; nothing without the header.
std::optional<std::uint64_t> vbriSamples(Bytes vbri, const MpegFrameHeader& header) {
  ByteReader reader{vbri};
  if (!startsWith(vbri, "VBRI") || !reader.skip(4) || reader.u16be() != 1u || !reader.skip(8))
    return std::nullopt;
  const auto frames = reader.u32be();
  if (!frames) return std::nullopt;
  return std::uint64_t{*frames} * header.samplesPerFrame();
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
    const std::int64_t xingStart = frame->offset + header.xingOffset();
    const std::int64_t xingCount =
        std::max(kXingCountsRead, std::min(kXingRead, blocks.length() - xingStart));
    const auto xing = blocks.read(xingStart, static_cast<std::uint64_t>(xingCount));
    if (xing && startsWith(*xing, "Xing")) bitsPerSecond = xingBitsPerSecond(*xing, header);
    readPlayingTime(blocks, *frame, xing.value_or(Bytes{}));
    // Absurd Xing counts give no rate at all rather than the largest one.
    const std::uint64_t kilobits = bitsPerSecond / 1000;
    setKilobitsPerSecond(kilobits > kMaxBitrateText ? 0 : kilobits);
    setChannels(header.channels);
    setSampleRate(header.sampleRate);
  }
  if (const auto block = readLyrics3Block(blocks, id3v1_.isPresent())) {
    lyrics3_.parse(*block);
    if (lyrics3_.isPresent()) ownTrailingBytes_ = block->size() + kLyrics3TrailerSize;
  }
}

void MP3Info::readPlayingTime(FileBlocks& blocks, const FoundFrame& frame, Bytes xing) {
  const MpegFrameHeader& header = frame.header;
  // Frame counts are kept in Layer III streams only: a Xing or Info header,
  // else a VBRI header.
  std::optional<std::uint64_t> samples;
  const bool isXing = startsWith(xing, "Xing") || startsWith(xing, "Info");
  if (header.layer == 3 && isXing) {
    samples = xingSamples(xing, header);
  } else if (header.layer == 3) {
    const auto vbri = blocks.read(frame.offset + kVbriOffset, kVbriRead);
    if (vbri) samples = vbriSamples(*vbri, header);
  }
  if (samples) {
    setMilliseconds(millisecondsOf(*samples, header.sampleRate));
  } else if (header.bitsPerSecond != 0) {
    meanRate_ = MeanRate{frame.offset, static_cast<double>(header.bitsPerSecond)};
  }
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
