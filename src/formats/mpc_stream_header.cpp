#include "formats/mpc_stream_header.h"

#include <array>
#include <cmath>
#include <limits>

namespace tunora {
namespace {

constexpr std::array<std::uint32_t, 4> kSampleRates{44100, 48000, 37800, 32000};
constexpr std::uint32_t kDefaultSampleRate = 44100;

}  // namespace

std::optional<MusepackStream> parseMusepackHeader(Bytes header) {
  if (header.size() < kMusepackHeaderSize || !startsWith(header, "MP+")) return std::nullopt;
  ByteReader reader(header);
  reader.skip(3);
  // The high four bits hold the minor version (SV7.1 streams write 0x17).
  const std::uint32_t version = *reader.u8() & 0x0F;
  const std::uint32_t frames32 = *reader.u32le();
  MusepackStream stream;
  stream.version = version;
  stream.sampleRate = kDefaultSampleRate;
  if (version == 8) return stream;
  stream.channels = 2;
  if (version == 7) {
    stream.sampleRate = kSampleRates[header[10] & 3];
    stream.frames = frames32;
  } else {
    stream.frames = version < 5 ? (frames32 & 0xFFFF) : frames32;
  }
  return stream;
}

std::uint32_t musepackKilobits(const MusepackStream& stream, std::uint64_t audioBytes) {
  // 32-bit as the frame count has always been taken: no frames wraps to a
  // huge count and so to 0 kbit/s.
  const std::uint32_t samples = stream.frames * 1152u - 576u;
  if (samples == 0) return 0;
  const double kilobits =
      static_cast<double>(audioBytes) * 8.0 * stream.sampleRate / samples / 1000.0;
  // Saturate before the conversion: a tiny frame count in a large file.
  constexpr double kMaxKilobits = std::numeric_limits<std::uint32_t>::max() / 1024;
  return kilobits >= kMaxKilobits ? static_cast<std::uint32_t>(kMaxKilobits)
                                  : static_cast<std::uint32_t>(kilobits);
}

}  // namespace tunora
