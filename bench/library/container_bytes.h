#pragma once
// Byte helpers shared by the container generators.

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "library_generator.h"

namespace tunora::bench {

// Grown by resize and filled by index: GCC 12 at -O2 reports false
// overflows for the same code written with push_back and insert.
inline std::uint8_t* grow(ByteVector& out, std::size_t count) {
  const std::size_t at = out.size();
  out.resize(at + count);
  return out.data() + at;
}
inline void append(ByteVector& out, const ByteVector& more) {
  if (!more.empty()) std::copy(more.begin(), more.end(), grow(out, more.size()));
}
inline void appendText(ByteVector& out, std::string_view text) {
  if (!text.empty()) std::copy(text.begin(), text.end(), grow(out, text.size()));
}
inline void putBigEndian(ByteVector& out, std::uint64_t value, int bytes) {
  std::uint8_t* at = grow(out, static_cast<std::size_t>(bytes));
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * (bytes - 1 - i)));
}
inline void putLittleEndian(ByteVector& out, std::uint64_t value, int bytes) {
  std::uint8_t* at = grow(out, static_cast<std::size_t>(bytes));
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The Vorbis comment block of Ogg and FLAC files: vendor and KEY=value entries.
ByteVector vorbisCommentBlock(const TrackSpec& spec, const ByteVector* base64Picture);

}  // namespace tunora::bench
