#pragma once
// The Musepack stream headers. Up to version 7 the audio starts with "MP+",
// the stream version in the low four bits of byte 3, the frame count from
// byte 4 and, in version 7, the sample-rate index in byte 10. Version 8
// streams start with "MPCK" and are a series of packets, the stream header
// ("SH") among the first of them and the audio in "AP" packets.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "text/byte_reader.h"

namespace tunora {

struct MusepackStream {
  std::uint32_t version = 0;
  // Not known from an "MP+" header that names version 8.
  std::optional<std::uint32_t> channels;
  std::uint32_t sampleRate = 0;
  std::uint32_t frames = 0;
  // The samples the audio decodes to; 0 when not known.
  std::uint64_t samples = 0;
};

inline constexpr std::size_t kMusepackHeaderSize = 36;

// Nothing unless the bytes start with "MP+" and hold the fields read. The
// samples are 1152 per frame, less the 576 of decoder delay.
std::optional<MusepackStream> parseMusepackHeader(Bytes header);

// A version 8 packet: a two-letter key, then its size, header included, in
// one to eight bytes of seven bits each, the high bit set on all but the last.
struct MusepackPacket {
  std::array<char, 2> key{};
  std::uint64_t size = 0;
  std::uint32_t headerSize = 0;
  bool is(std::string_view twoLetters) const {
    return twoLetters.size() == 2 && key[0] == twoLetters[0] && key[1] == twoLetters[1];
  }
};
inline constexpr std::size_t kMusepackPacketHeaderMax = 10;

// Nothing unless the key is two capital letters and the size covers the
// header.
std::optional<MusepackPacket> parseMusepackPacketHeader(Bytes bytes);

// The payload of a version 8 stream header packet: CRC, stream version (8),
// sample count and the silence at its start (sizes as in the packet header),
// then sample-rate index (3 bits), bands (5), channels less one (4), mid-side
// flag (1) and frames per packet (3).
inline constexpr std::size_t kMusepackStreamHeaderMax = 24;
std::optional<MusepackStream> parseMusepackStreamHeader(Bytes payload);

// Average kilobits per second of the audio bytes over the stream's samples;
// 0 when not known.
std::uint32_t musepackKilobits(const MusepackStream& stream, std::uint64_t audioBytes);

}  // namespace tunora
