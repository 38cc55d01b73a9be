#include "htmlcreator/html_escape.h"

#include "text/conversions.h"
#include "text/percent_encoding.h"
#include "text/utf8_encoding.h"

namespace tunora {

std::u16string escapeHtml(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (const char16_t c : text) {
    switch (c) {
      case u'&':
        escaped += u"&amp;";
        break;
      case u'<':
        escaped += u"&lt;";
        break;
      case u'>':
        escaped += u"&gt;";
        break;
      case u'"':
        escaped += u"&quot;";
        break;
      case u'\'':
        escaped += u"&#39;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::u16string joinEscapedWithBreaks(const TextLines& lines) {
  TextLines escaped;
  for (std::size_t i = 0; i < lines.lineCount(); ++i)
    escaped.appendLine(escapeHtml(*lines.line(i)));
  return escaped.joinWithBreaks();
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

void replaceValueToken(TextLines& section, std::u16string_view token, std::u16string_view value) {
  // "<$artist$>" becomes "<$url:artist$>".
  const std::u16string urlToken = u"<$url:" + std::u16string(token.substr(2));
  section.replaceAll(urlToken, encodeUrlComponent(value));
  section.replaceAll(token, escapeHtml(value));
}

}  // namespace tunora
