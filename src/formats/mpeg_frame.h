#pragma once
// The four bytes that start every MPEG audio frame (ISO/IEC 11172-3, ISO/IEC
// 13818-3 and the MPEG-2.5 extension to the lowest sample rates): what they
// say of the stream and where the next frame starts.

#include <cstdint>
#include <optional>

#include "text/byte_reader.h"

namespace tunora {

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct MpegFrameHeader {
  MpegVersion version = MpegVersion::Mpeg1;
  int layer = 3;
  // 0 for free format, whose frames say nothing of their rate.
  std::uint32_t bitsPerSecond = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t channels = 0;
  bool padded = false;

  std::uint32_t samplesPerFrame() const;
  // Bytes from this header to the next one; 0 for free format.
  std::uint32_t frameLength() const;
  // Where a Xing or Info header starts, counted from the frame start: behind
  // the four header bytes and the Layer III side information.
  std::uint32_t xingOffset() const;
  // The next header of the same stream keeps version, layer and sample rate.
  bool sameStream(const MpegFrameHeader& next) const;
};

// The longest frame any header describes: MPEG-2.5 Layer II at 160 kbit/s
// and 8000 Hz, padded.
inline constexpr std::uint32_t kMaxMpegFrameLength = 2881;

// The header in the first four bytes, when they hold the sync bits and no
// reserved version, layer, bit-rate or sampling index; nothing otherwise.
std::optional<MpegFrameHeader> parseMpegFrameHeader(Bytes bytes);

}  // namespace tunora
