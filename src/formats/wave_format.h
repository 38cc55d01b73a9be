#pragma once
// The WAVEFORMATEX record of a WAV file's fmt chunk, all fields
// little-endian, and what it says of the stream.

#include <cstdint>
#include <optional>

#include "text/byte_reader.h"

namespace tunora {

struct WaveFormat {
  // WAVE_FORMAT_EXTENSIBLE is replaced by the format of its sub-format GUID.
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t bytesPerSecond = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;

  // Integer or floating-point samples, stored as they are.
  bool isUncompressed() const;
  // Rate x channels x bits for uncompressed samples, else the average bytes
  // per second the header gives, times 8; 0 for none.
  std::uint64_t bitsPerSecond() const;
  // The playing time of `dataSize` bytes, to the nearest millisecond: whole
  // blocks over the rate for uncompressed samples; else the frames of the
  // fact chunk over the rate, or the bytes over the average byte rate. 0 for
  // none.
  std::uint64_t milliseconds(std::uint64_t dataSize, std::optional<std::uint32_t> factFrames) const;
};

// Nothing when the body is shorter than the 16 bytes every format has.
std::optional<WaveFormat> parseWaveFormat(Bytes body);

}  // namespace tunora
