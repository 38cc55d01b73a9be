#pragma once
// Tests on four 16-bit text units at once, held in one 64-bit word. Most text
// the tool writes is long runs of plain ASCII; testing a word at a time, with
// no branch per unit, costs a fraction of a unit-by-unit loop.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tunora::unit_blocks {

// The lanes below are in memory order on the little-endian machines the
// system is built for.
static_assert(std::endian::native == std::endian::little);

constexpr std::size_t kUnits = 4;
constexpr std::uint64_t kLanes = 0x0001'0001'0001'0001;
constexpr std::uint64_t kLaneBit7 = kLanes * 0x80;

inline std::uint64_t load(const char16_t* units) {
  std::uint64_t word;
  std::memcpy(&word, units, sizeof word);
  return word;
}

// The top bit of each of the four units that is 0, and maybe of some after
// such a unit.
inline std::uint64_t nulLanes(std::uint64_t word) {
  return (word - kLanes) & ~word & (kLanes * 0x8000);
}

// Whether any of the four units is 0.
inline bool hasNul(std::uint64_t word) {
  return nulLanes(word) != 0;
}

// Whether all four are printable ASCII other than '"' and '\': text that JSON
// takes as it is.
inline bool allPlainJson(std::uint64_t word) {
  if ((word & (kLanes * 0xFF80)) != 0) return false;
  // Each unit is below 0x80 now, so no sum below carries out of its lane.
  const std::uint64_t atLeastSpace = (word + kLanes * 0x60) & kLaneBit7;
  const std::uint64_t notQuote = ((word ^ (kLanes * '"')) + kLanes * 0x7F) & kLaneBit7;
  const std::uint64_t notBackslash = ((word ^ (kLanes * '\\')) + kLanes * 0x7F) & kLaneBit7;
  return (atLeastSpace & notQuote & notBackslash) == kLaneBit7;
}

// The first place at or after `from` that holds `unit`, or npos.
inline std::size_t findUnit(std::u16string_view text, char16_t unit, std::size_t from = 0) {
  const std::uint64_t pattern = kLanes * unit;
  // Two words a step, where most texts have no such unit for a long way.
  while (from + 2 * kUnits <= text.size() &&
         (nulLanes(load(text.data() + from) ^ pattern) |
          nulLanes(load(text.data() + from + kUnits) ^ pattern)) == 0)
    from += 2 * kUnits;
  while (from + kUnits <= text.size() && !hasNul(load(text.data() + from) ^ pattern))
    from += kUnits;
  for (; from < text.size(); ++from)
    if (text[from] == unit) return from;
  return std::u16string_view::npos;
}

// The first place at or after `from` where `search` starts, or npos, as
// std::u16string_view::find gives. The scan looks for the second unit where
// there is one: page tokens start with "<$", and '$' is rare in HTML where
// '<' is everywhere.
inline std::size_t findText(std::u16string_view text, std::u16string_view search,
                            std::size_t from = 0) {
  if (search.empty()) return from <= text.size() ? from : std::u16string_view::npos;
  const std::size_t anchor = search.size() > 1 ? 1 : 0;
  while (from + search.size() <= text.size()) {
    const std::size_t found = findUnit(text, search[anchor], from + anchor);
    if (found == std::u16string_view::npos || found - anchor + search.size() > text.size()) break;
    from = found - anchor;
    if (text.compare(from, search.size(), search) == 0) return from;
    ++from;
  }
  return std::u16string_view::npos;
}

// Writes the four units, all below 0x100, a byte each, in order (each byte
// also takes the high byte of the unit before it, which is 0).
inline void storeLowBytes(std::uint64_t word, char* out) {
  word = (word | (word >> 8)) & 0x0000'FFFF'0000'FFFF;
  const auto bytes = static_cast<std::uint32_t>(word | (word >> 16));
  std::memcpy(out, &bytes, sizeof bytes);
}

// Copies the run of ASCII units at the start of `text` to `out`, a byte a
// unit, and returns its length.
inline std::size_t narrowAsciiRun(std::u16string_view text, char* out) {
  std::size_t done = 0;
  for (; done + kUnits <= text.size(); done += kUnits) {
    const std::uint64_t units = load(text.data() + done);
    if ((units & (kLanes * 0xFF80)) != 0) break;
    storeLowBytes(units, out + done);
  }
  for (; done < text.size() && text[done] < 0x80; ++done) out[done] = static_cast<char>(text[done]);
  return done;
}

}  // namespace tunora::unit_blocks
