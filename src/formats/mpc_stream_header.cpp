#include "formats/mpc_stream_header.h"

#include <array>
#include <cmath>
#include <limits>

namespace tunora {
namespace {

constexpr std::array<std::uint32_t, 4> kSampleRates{44100, 48000, 37800, 32000};
constexpr std::uint32_t kDefaultSampleRate = 44100;

// One to eight bytes of seven bits each, most significant first.
std::optional<std::uint64_t> packedNumber(ByteReader& reader) {
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) {
    const auto byte = reader.u8();
    if (!byte) return std::nullopt;
    value = value << 7 | (*byte & 0x7Fu);
    if ((*byte & 0x80) == 0) return value;
  }
  return std::nullopt;
}

bool isCapitalLetter(std::uint8_t byte) {
  return byte >= 'A' && byte <= 'Z';
}

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
  // 32-bit as the frame count has always been taken: no frames wraps to a
  // huge count and so to 0 kbit/s.
  stream.samples = static_cast<std::uint32_t>(stream.frames * 1152u - 576u);
  return stream;
}

std::optional<MusepackPacket> parseMusepackPacketHeader(Bytes bytes) {
  ByteReader reader(bytes);
  const auto key = reader.bytes(2);
  if (!key || !isCapitalLetter((*key)[0]) || !isCapitalLetter((*key)[1])) return std::nullopt;
  const auto size = packedNumber(reader);
  if (!size || *size < reader.position()) return std::nullopt;
  MusepackPacket packet;
  packet.key = {static_cast<char>((*key)[0]), static_cast<char>((*key)[1])};
  packet.size = *size;
  packet.headerSize = static_cast<std::uint32_t>(reader.position());
  return packet;
}

std::optional<MusepackStream> parseMusepackStreamHeader(Bytes payload) {
  ByteReader reader(payload);
  const auto version = reader.skip(4) ? reader.u8() : std::nullopt;
  if (version != 8u) return std::nullopt;
  const auto samples = packedNumber(reader);
  const auto silence = samples ? packedNumber(reader) : std::nullopt;
  const auto rateAndBands = silence ? reader.u8() : std::nullopt;
  const auto channelsAndFrames = rateAndBands ? reader.u8() : std::nullopt;
  if (!channelsAndFrames) return std::nullopt;
  MusepackStream stream;
  stream.version = 8;
  const std::uint32_t rateIndex = *rateAndBands >> 5;
  // Indexes past the four rates are reserved: no rate, and so no bit rate.
  stream.sampleRate = rateIndex < kSampleRates.size() ? kSampleRates[rateIndex] : 0;
  stream.channels = (*channelsAndFrames >> 4) + 1u;
  stream.samples = *samples > *silence ? *samples - *silence : 0;
  return stream;
}

std::uint32_t musepackKilobits(const MusepackStream& stream, std::uint64_t audioBytes) {
  if (stream.samples == 0) return 0;
  const double kilobits = static_cast<double>(audioBytes) * 8.0 * stream.sampleRate /
                          static_cast<double>(stream.samples) / 1000.0;
  // Saturate before the conversion: a tiny frame count in a large file.
  constexpr double kMaxKilobits = std::numeric_limits<std::uint32_t>::max() / 1024;
  return kilobits >= kMaxKilobits ? static_cast<std::uint32_t>(kMaxKilobits)
                                  : static_cast<std::uint32_t>(kilobits);
}

}  // namespace tunora
