#include "formats/mpeg_frame.h"

#include <array>

namespace tunora {
namespace {

using RateTable = std::array<std::uint16_t, 16>;

// Kilobits per second by bit-rate index; index 0 is free format.
constexpr RateTable kMpeg1Layer1{0,   32,  64,  96,  128, 160, 192, 224,
                                 256, 288, 320, 352, 384, 416, 448, 0};
constexpr RateTable kMpeg1Layer2{0,   32,  48,  56,  64,  80,  96,  112,
                                 128, 160, 192, 224, 256, 320, 384, 0};
constexpr RateTable kMpeg1Layer3{0,   32,  40,  48,  56,  64,  80,  96,
                                 112, 128, 160, 192, 224, 256, 320, 0};
// MPEG-2 and MPEG-2.5 share their tables; Layers II and III share one.
constexpr RateTable kMpeg2Layer1{0,   32,  48,  56,  64,  80,  96,  112,
                                 128, 144, 160, 176, 192, 224, 256, 0};
constexpr RateTable kMpeg2Layer23{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};

// Hz by sampling index, for MPEG-1, MPEG-2 and MPEG-2.5.
constexpr std::array<std::array<std::uint32_t, 4>, 3> kSampleRates{{
    {44100, 48000, 32000, 0},
    {22050, 24000, 16000, 0},
    {11025, 12000, 8000, 0},
}};

constexpr std::uint8_t kMonoMode = 3;

const RateTable& rateTable(MpegVersion version, int layer) {
  if (version == MpegVersion::Mpeg1)
    return layer == 1 ? kMpeg1Layer1 : layer == 2 ? kMpeg1Layer2 : kMpeg1Layer3;
  return layer == 1 ? kMpeg2Layer1 : kMpeg2Layer23;
}

}  // namespace

std::optional<MpegFrameHeader> parseMpegFrameHeader(Bytes bytes) {
  if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return std::nullopt;
  const int versionBits = (bytes[1] >> 3) & 0x03;
  const int layerBits = (bytes[1] >> 1) & 0x03;
  const int rateIndex = bytes[2] >> 4;
  const int samplingIndex = (bytes[2] >> 2) & 0x03;
  // Version 01, layer 00, bit-rate index 15 and sampling index 3 are not
  // allowed in a header: bytes that hold them are no header.
  if (versionBits == 1 || layerBits == 0 || rateIndex == 15 || samplingIndex == 3)
    return std::nullopt;
  MpegFrameHeader header;
  header.version = versionBits == 3   ? MpegVersion::Mpeg1
                   : versionBits == 2 ? MpegVersion::Mpeg2
                                      : MpegVersion::Mpeg25;
  header.layer = 4 - layerBits;
  header.bitsPerSecond =
      std::uint32_t{rateTable(header.version, header.layer)[bytes[2] >> 4]} * 1000;
  header.sampleRate =
      kSampleRates[static_cast<std::size_t>(header.version)][(bytes[2] >> 2) & 0x03];
  header.padded = (bytes[2] & 0x02) != 0;
  header.channels = (bytes[3] >> 6) == kMonoMode ? 1 : 2;
  return header;
}

std::uint32_t MpegFrameHeader::samplesPerFrame() const {
  if (layer == 1) return 384;
  if (layer == 3 && version != MpegVersion::Mpeg1) return 576;
  return 1152;
}

std::uint32_t MpegFrameHeader::frameLength() const {
  if (bitsPerSecond == 0 || sampleRate == 0) return 0;
  // Layer I counts in 4-byte slots, the others in bytes.
  if (layer == 1) return (12 * bitsPerSecond / sampleRate + (padded ? 1 : 0)) * 4;
  return samplesPerFrame() / 8 * bitsPerSecond / sampleRate + (padded ? 1 : 0);
}

std::uint32_t MpegFrameHeader::xingOffset() const {
  const bool mono = channels == 1;
  if (version == MpegVersion::Mpeg1) return 4 + (mono ? 17 : 32);
  return 4 + (mono ? 9 : 17);
}

bool MpegFrameHeader::sameStream(const MpegFrameHeader& next) const {
  return next.version == version && next.layer == layer && next.sampleRate == sampleRate;
}

}  // namespace tunora
