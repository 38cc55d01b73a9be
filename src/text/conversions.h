#pragma once
// Conversions between the text forms the system meets: 8-bit text (each byte
// one character, ISO-8859-1), UTF-8, UTF-16 byte blocks and 16-bit text.
// Inputs are C-style texts: the first NUL, where there is one, ends them.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "text/unit_blocks.h"

namespace tunora {

// The byte-order mark as a unit, and the two bytes that start UTF-16LE text.
inline constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr bool startsWithLittleEndianMark(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
}

// Each byte becomes the unit of the same value (0xE9 -> U+00E9).
std::u16string widenLatin1(std::string_view text);

// Each unit keeps only its low 8 bits (U+20AC -> 0xAC).
std::string narrowToLatin1(std::u16string_view text);

enum class Utf16Encoding { Auto, Utf16WithBom, Utf16LE, Utf16BE };

// Decodes a UTF-16 byte block with an optional byte-order mark; without a mark
// the block is taken as big-endian. Refuses an odd length, and a mark that the
// expected encoding forbids or lacks; `out` is untouched on refusal. A NUL unit
// in the block ends the text.
bool convertUTF16ToWChar(std::span<const std::uint8_t> bytes, std::u16string& out,
                         Utf16Encoding expected = Utf16Encoding::Auto);

// Decodes UTF-8 leniently: invalid lead bytes and stray continuation bytes are
// skipped; a sequence with a bad or missing continuation byte stops the
// conversion. `out` always receives what was converted; the result is true
// only when nothing stopped it.
bool convertUTF8ToUTF16(std::string_view utf8, std::u16string& out);

// Strict UTF-8 encoding for file-system paths and output; an unpaired
// surrogate becomes U+FFFD.
std::string convertUTF16ToUTF8(std::u16string_view text);

// The text up to its first NUL.
template <typename Char>
std::basic_string_view<Char> untilNul(std::basic_string_view<Char> text) {
  std::size_t nul;
  if constexpr (std::is_same_v<Char, char16_t>)
    nul = unit_blocks::findUnit(text, 0);
  else
    nul = text.find(Char{0});
  return nul == std::basic_string_view<Char>::npos ? text : text.substr(0, nul);
}

}  // namespace tunora
