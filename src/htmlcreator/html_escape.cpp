#include "htmlcreator/html_escape.h"

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

void replaceValueToken(TextLines& section, std::u16string_view token, std::u16string_view value) {
  // "<$artist$>" becomes "<$url:artist$>".
  const std::u16string urlToken = u"<$url:" + std::u16string(token.substr(2));
  section.replaceAll(urlToken, encodeUrlComponent(value));
  section.replaceAll(token, escapeHtml(value));
}

}  // namespace tunora
