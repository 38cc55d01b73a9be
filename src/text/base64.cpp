#include "text/base64.h"

namespace tunora {
namespace {

int sextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t at = 0; at < text.size(); at += 4) {
    const bool last = at + 4 == text.size();
    // "xx==" and "xxx=" end the text; padding anywhere else is an error.
    const int padding = last && text[at + 3] == '=' ? (text[at + 2] == '=' ? 2 : 1) : 0;
    std::uint32_t group = 0;
    for (int i = 0; i < 4; ++i) {
      const int sextet = i < 4 - padding ? sextetOf(text[at + i]) : 0;
      if (sextet < 0) return std::nullopt;
      group = group << 6 | static_cast<std::uint32_t>(sextet);
    }
    for (int i = 0; i < 3 - padding; ++i)
      bytes.push_back(static_cast<std::uint8_t>(group >> (16 - 8 * i)));
  }
  return bytes;
}

}  // namespace tunora
