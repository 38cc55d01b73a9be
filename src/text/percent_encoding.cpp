#include "text/percent_encoding.h"

#include "text/conversions.h"
#include "text/utf8_encoding.h"

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

std::u16string encodeUrlComponent(std::u16string_view text) {
  // A byte of a file name that is no UTF-8 comes as a lone unit U+DC80 +
  // byte; the link names that byte again, so that it reaches the file.
  std::string bytes;
  std::size_t runStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool paired = i > 0 && isHighSurrogate(text[i - 1]);
    if (text[i] < 0xDC80 || text[i] > 0xDCFF || paired) continue;
    bytes += convertUTF16ToUTF8(text.substr(runStart, i - runStart));
    bytes += static_cast<char>(text[i] - 0xDC00);
    runStart = i + 1;
  }
  bytes += convertUTF16ToUTF8(text.substr(runStart));
  // The result is ASCII, so widening it byte by byte is exact.
  return widenLatin1(percentEncode(bytes, PercentEncoding::UrlComponent));
}

}  // namespace tunora
