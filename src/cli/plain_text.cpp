#include "cli/plain_text.h"

namespace tunora {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendEscape(std::string& out, std::string_view prefix, unsigned char value) {
  out += prefix;
  out += kHexDigits[value >> 4];
  out += kHexDigits[value & 0x0F];
}

std::string escaped(std::string_view text, bool keepLineBreaks) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool kept = c == '\t' || (keepLineBreaks && (c == '\n' || c == '\r'));
    if ((c < 0x20 && !kept) || c == 0x7F) {
      appendEscape(out, "\\x", c);
    } else if (c == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      // U+0080 to U+009F: terminals read U+009B as the start of a sequence.
      appendEscape(out, "\\u00", static_cast<unsigned char>(text[++i]));
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string escapeControls(std::string_view text) {
  return escaped(text, false);
}

std::string escapeControlsKeepingLineBreaks(std::string_view text) {
  return escaped(text, true);
}

}  // namespace tunora
