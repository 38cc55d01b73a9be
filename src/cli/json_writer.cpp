#include "cli/json_writer.h"

#include <algorithm>

#include "text/unit_blocks.h"
#include "text/utf8_encoding.h"

namespace tunora {
namespace {

// The longest form of one unit: "\u" and four digits.
constexpr std::size_t kMaxJsonBytesPerUnit = 6;

char* writeEscape(char16_t unit, char* out) {
  static constexpr char kHex[] = "0123456789abcdef";
  *out++ = '\\';
  *out++ = 'u';
  *out++ = kHex[unit >> 12];
  *out++ = kHex[(unit >> 8) & 0xF];
  *out++ = kHex[(unit >> 4) & 0xF];
  *out++ = kHex[unit & 0xF];
  return out;
}

// An ASCII unit that JSON does not take as it is.
char* writeSpecial(char16_t unit, char* out) {
  char shortForm = 0;
  switch (unit) {
    case u'"':
      shortForm = '"';
      break;
    case u'\\':
      shortForm = '\\';
      break;
    case u'\n':
      shortForm = 'n';
      break;
    case u'\r':
      shortForm = 'r';
      break;
    case u'\t':
      shortForm = 't';
      break;
    default:
      return writeEscape(unit, out);
  }
  *out++ = '\\';
  *out++ = shortForm;
  return out;
}

bool isPlainAscii(char16_t unit) {
  return unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\';
}

}  // namespace

void appendJsonText(std::string& out, std::u16string_view text) {
  // Written a piece at a time through a buffer with room for each unit's
  // longest form: no larger room is made, or cleared, than the text needs.
  constexpr std::size_t kPieceUnits = 1024;
  char piece[kPieceUnits * kMaxJsonBytesPerUnit];
  const char16_t* in = text.data();
  const char16_t* const textEnd = in + text.size();
  while (in != textEnd) {
    // A surrogate pair that starts at the piece's last unit is written
    // whole, in the four bytes its two units take.
    const char16_t* const end = in + std::min<std::size_t>(textEnd - in, kPieceUnits);
    char* at = piece;
    while (in < end) {
      // Plain ASCII, most of what is written, four units a step.
      while (end - in >= static_cast<std::ptrdiff_t>(unit_blocks::kUnits)) {
        const std::uint64_t units = unit_blocks::load(in);
        if (!unit_blocks::allPlainJson(units)) break;
        unit_blocks::storeLowBytes(units, at);
        in += unit_blocks::kUnits;
        at += unit_blocks::kUnits;
      }
      if (in >= end) break;
      const char16_t unit = *in++;
      if (isPlainAscii(unit)) {
        *at++ = static_cast<char>(unit);
      } else if (unit < 0x80) {
        at = writeSpecial(unit, at);
      } else if (isHighSurrogate(unit) && in != textEnd && isLowSurrogate(*in)) {
        at = encodeUTF8(combineSurrogates(unit, *in++), at);
      } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
        // Lone surrogates stay escaped, so that the name they stand for can
        // be recovered.
        at = writeEscape(unit, at);
      } else {
        at = encodeUTF8(unit, at);
      }
    }
    out.append(piece, static_cast<std::size_t>(at - piece));
  }
}

void appendJsonString(std::string& out, std::u16string_view text) {
  out += '"';
  appendJsonText(out, text);
  out += '"';
}

std::string jsonString(std::u16string_view text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

}  // namespace tunora
