#pragma once
// Byte helpers shared by the container generators.

#include <cstdint>
#include <string_view>

#include "library_generator.h"

namespace tunora::bench {

inline void append(ByteVector& out, const ByteVector& more) {
  out.insert(out.end(), more.begin(), more.end());
}
inline void appendText(ByteVector& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}
inline void putBigEndian(ByteVector& out, std::uint64_t value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}
inline void putLittleEndian(ByteVector& out, std::uint64_t value, int bytes) {
  for (int shift = 0; shift < bytes * 8; shift += 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// The Vorbis comment block of Ogg and FLAC files: vendor and KEY=value entries.
ByteVector vorbisCommentBlock(const TrackSpec& spec, const ByteVector* base64Picture);

}  // namespace tunora::bench
