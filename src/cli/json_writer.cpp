#include "cli/json_writer.h"

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
  // Most text is plain ASCII, a byte a unit: written in place. From the first
  // other unit on, the rest gets room for its longest form and is cut to
  // length at the end.
  const std::size_t start = out.size();
  out.resize(start + text.size());
  std::size_t i = copyPlainAscii(text, out.data() + start);
  if (i == text.size()) return;
  out.resize(start + i + (text.size() - i) * kMaxJsonBytesPerUnit);
  char* const begin = out.data();
  char* at = begin + start + i;
  while (i < text.size()) {
    const char16_t unit = text[i];
    if (isPlainAscii(unit)) {
      const std::size_t run = copyPlainAscii(text.substr(i), at);
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
      // Lone surrogates stay escaped, so that the name they stand for can be
      // recovered.
      at = writeEscape(unit, at);
    } else {
      at = encodeUTF8(unit, at);
    }
    ++i;
  }
  out.resize(static_cast<std::size_t>(at - begin));
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
