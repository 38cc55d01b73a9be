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

// Copies the run of plain ASCII units at the start of `text` to `out`, a byte
// a unit, and returns its length.
std::size_t copyPlainAscii(std::u16string_view text, char* out) {
  std::size_t done = 0;
  for (; done + unit_blocks::kUnits <= text.size(); done += unit_blocks::kUnits) {
    const std::uint64_t units = unit_blocks::load(text.data() + done);
    if (!unit_blocks::allPlainJson(units)) break;
    unit_blocks::storeLowBytes(units, out + done);
  }
  for (; done < text.size() && isPlainAscii(text[done]); ++done)
    out[done] = static_cast<char>(text[done]);
  return done;
}

}  // namespace

void appendJsonText(std::string& out, std::u16string_view text) {
  // Written a piece at a time through a buffer with room for each unit's
  // longest form: no larger room is made, or cleared, than the text needs.
  constexpr std::size_t kPieceUnits = 1024;
  char piece[kPieceUnits * kMaxJsonBytesPerUnit];
  std::size_t i = 0;
  while (i < text.size()) {
    // A surrogate pair that starts at the piece's last unit is written
    // whole, in the four bytes its two units take.
    const std::size_t end = std::min(text.size(), i + kPieceUnits);
    char* at = piece;
    while (i < end) {
      const char16_t unit = text[i];
      if (isPlainAscii(unit)) {
        const std::size_t run = copyPlainAscii(text.substr(i, end - i), at);
        i += run;
        at += run;
        continue;
      }
      if (unit < 0x80) {
        at = writeSpecial(unit, at);
      } else if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
        at = encodeUTF8(combineSurrogates(unit, text[i + 1]), at);
        ++i;
      } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
        // Lone surrogates stay escaped, so that the name they stand for can
        // be recovered.
        at = writeEscape(unit, at);
      } else {
        at = encodeUTF8(unit, at);
      }
      ++i;
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
