#pragma once
// UTF-8 (RFC 3629) written straight into a buffer that has room: the one
// encoder of the conversions, the path names and the JSON output.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tunora {

// The most bytes one UTF-16 unit becomes; a surrogate pair, two units, takes
// four.
inline constexpr std::size_t kMaxUTF8BytesPerUnit = 3;

constexpr bool isHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}
constexpr char32_t combineSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Writes `code` at `out` and returns the end of what it wrote.
inline char* encodeUTF8(char32_t code, char* out) {
  if (code < 0x80) {
    *out++ = static_cast<char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<char>(0xC0 | code >> 6);
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out++ = static_cast<char>(0xE0 | code >> 12);
    *out++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | code >> 18);
    *out++ = static_cast<char>(0x80 | (code >> 12 & 0x3F));
    *out++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

// The length of the run of ASCII bytes at `from`: tested eight bytes at a
// time, since most text in tags is ASCII throughout.
inline std::size_t asciiRun(std::string_view text, std::size_t from) {
  constexpr std::uint64_t kHighBits = 0x8080'8080'8080'8080;
  std::size_t at = from;
  for (std::uint64_t word; at + sizeof word <= text.size(); at += sizeof word) {
    std::memcpy(&word, text.data() + at, sizeof word);
    if ((word & kHighBits) != 0) break;
  }
  while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
  return at - from;
}

// Copies that run to `out`, a unit a byte, and returns its length.
inline std::size_t widenAsciiRun(std::string_view text, std::size_t from, char16_t* out) {
  const std::size_t length = asciiRun(text, from);
  for (std::size_t k = 0; k < length; ++k) out[k] = static_cast<unsigned char>(text[from + k]);
  return length;
}

}  // namespace tunora
