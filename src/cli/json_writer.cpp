#include "cli/json_writer.h"

#include <cstdio>

#include "text/conversions.h"

namespace tunora {
namespace {

void appendEscape(std::string& out, char16_t unit) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
  out += escape;
}

bool isHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::string jsonString(std::u16string_view text) {
  std::string out = "\"";
  std::size_t runStart = 0;
  // Runs of ordinary units are converted to UTF-8 at once.
  auto flush = [&](std::size_t end) {
    out += convertUTF16ToUTF8(text.substr(runStart, end - runStart));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      ++i;
      continue;
    }
    const bool special = unit < 0x20 || unit == u'"' || unit == u'\\' || isHighSurrogate(unit) ||
                         isLowSurrogate(unit);
    if (!special) continue;
    flush(i);
    runStart = i + 1;
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
  flush(text.size());
  out += '"';
  return out;
}

}  // namespace tunora
