#pragma once
// The Musepack stream header that starts the audio: "MP+", the stream
// version in the low four bits of byte 3, the frame count from byte 4 and,
// in version 7, the sample-rate index in byte 10. Version 8 streams carry
// none of these here.

#include <cstdint>
#include <optional>

#include "text/byte_reader.h"

namespace tunora {

struct MusepackStream {
  std::uint32_t version = 0;
  // Not known for version 8.
  std::optional<std::uint32_t> channels;
  std::uint32_t sampleRate = 0;
  std::uint32_t frames = 0;
};

inline constexpr std::size_t kMusepackHeaderSize = 36;

// Nothing unless the bytes start with "MP+" and hold the fields read.
std::optional<MusepackStream> parseMusepackHeader(Bytes header);

// Average kilobits per second of the audio bytes over the stream's samples
// (1152 per frame, less the 576 of decoder delay); 0 when not known.
std::uint32_t musepackKilobits(const MusepackStream& stream, std::uint64_t audioBytes);

}  // namespace tunora
