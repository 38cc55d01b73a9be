#include "cli/json_writer.h"

namespace tunora {
namespace {

bool isHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendEscape(std::string& out, char16_t unit) {
  static constexpr char kHex[] = "0123456789abcdef";
  const char escape[] = {'\\',
                         'u',
                         kHex[unit >> 12],
                         kHex[(unit >> 8) & 0xF],
                         kHex[(unit >> 4) & 0xF],
                         kHex[unit & 0xF]};
  out.append(escape, sizeof escape);
}

// Characters that JSON takes as they are, in UTF-8.
void appendUTF8(std::string& out, char32_t code) {
  if (code < 0x800) {
    const char bytes[] = {static_cast<char>(0xC0 | code >> 6),
                          static_cast<char>(0x80 | (code & 0x3F))};
    out.append(bytes, 2);
  } else if (code < 0x10000) {
    const char bytes[] = {static_cast<char>(0xE0 | code >> 12),
                          static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                          static_cast<char>(0x80 | (code & 0x3F))};
    out.append(bytes, 3);
  } else {
    const char bytes[] = {
        static_cast<char>(0xF0 | code >> 18), static_cast<char>(0x80 | (code >> 12 & 0x3F)),
        static_cast<char>(0x80 | (code >> 6 & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
    out.append(bytes, 4);
  }
}

void appendSpecial(std::string& out, char16_t unit) {
  switch (unit) {
    case u'"':
      out += "\\\"";
      break;
    case u'\\':
      out += "\\\\";
      break;
    case u'\n':
      out += "\\n";
      break;
    case u'\r':
      out += "\\r";
      break;
    case u'\t':
      out += "\\t";
      break;
    default:
      appendEscape(out, unit);
  }
}

bool isPlainAscii(char16_t unit) {
  return unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\';
}

}  // namespace

void appendJsonText(std::string& out, std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (isPlainAscii(unit)) {
      // Most text is a run of such characters: one resize, then a byte each.
      std::size_t end = i + 1;
      while (end < text.size() && isPlainAscii(text[end])) ++end;
      const std::size_t start = out.size();
      out.resize(start + (end - i));
      for (std::size_t k = i; k < end; ++k) out[start + (k - i)] = static_cast<char>(text[k]);
      i = end - 1;
    } else if (unit < 0x80) {
      appendSpecial(out, unit);
    } else if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      appendUTF8(out, 0x10000 + ((unit - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendEscape(out, unit);
    } else {
      appendUTF8(out, unit);
    }
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
