#include "text/percent_encoding.h"

namespace tunora {

std::string percentEncode(std::string_view text, PercentEncoding encoding) {
  constexpr char kHex[] = "0123456789ABCDEF";
  const std::string_view kept = encoding == PercentEncoding::UrlComponent ? "-._~" : "-._*";
  std::string encoded;
  encoded.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || kept.find(c) != kept.npos;
    if (plain) {
      encoded += c;
    } else if (byte == ' ' && encoding == PercentEncoding::FormValue) {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

}  // namespace tunora
