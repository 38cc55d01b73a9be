#include "formats/wave_format.h"

#include "formats/playing_time.h"

namespace tunora {
namespace {

constexpr std::uint16_t kFormatPcm = 0x0001;
constexpr std::uint16_t kFormatFloat = 0x0003;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

std::optional<WaveFormat> parseWaveFormat(Bytes body) {
  ByteReader reader(body);
  const auto tag = reader.u16le();
  const auto channels = reader.u16le();
  const auto sampleRate = reader.u32le();
  const auto bytesPerSecond = reader.u32le();
  const auto blockAlign = reader.u16le();
  const auto bits = reader.u16le();
  if (!bits) return std::nullopt;
  WaveFormat format{*tag, *channels, *sampleRate, *bytesPerSecond, *blockAlign, *bits};
  // The extension: its size, valid bits, channel mask, then the GUID whose
  // first two bytes are the format tag.
  if (format.formatTag == kFormatExtensible && reader.skip(8))
    if (const auto sub = reader.u16le()) format.formatTag = *sub;
  return format;
}

bool WaveFormat::isUncompressed() const {
  return formatTag == kFormatPcm || formatTag == kFormatFloat;
}

std::uint64_t WaveFormat::bitsPerSecond() const {
  if (!isUncompressed()) return std::uint64_t{bytesPerSecond} * 8;
  // The product of a 32-bit rate and two 16-bit counts stays below 2^64.
  return std::uint64_t{sampleRate} * channels * bitsPerSample;
}

std::uint64_t WaveFormat::milliseconds(std::uint64_t dataSize,
                                       std::optional<std::uint32_t> factFrames) const {
  if (isUncompressed())
    return blockAlign == 0 ? 0 : millisecondsOf(dataSize / blockAlign, sampleRate);
  if (factFrames) return millisecondsOf(*factFrames, sampleRate);
  return millisecondsOf(dataSize, bytesPerSecond);
}

}  // namespace tunora
