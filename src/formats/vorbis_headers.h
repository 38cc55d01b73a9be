#pragma once
// The Vorbis identification header (Vorbis I), read from
// the 23 bytes after its packet type and "vorbis".

#include <cstdint>
#include <optional>

#include "text/byte_reader.h"

namespace tunora {

struct VorbisIdentification {
  std::uint32_t channels = 0;
  std::uint32_t sampleRate = 0;
  // Bits per second; 0 when the stream gives none (the field is signed and
  // encoders write -1 or 0 for "not set").
  std::uint32_t nominalBitrate = 0;
};

// Nothing unless the version is 0, both block-size exponents lie in 6..13
// with the first not above the second, and the framing bit is set.
std::optional<VorbisIdentification> parseVorbisIdentification(Bytes afterSignature);

}  // namespace tunora
