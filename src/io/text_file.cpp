#include "io/text_file.h"

#include <cstdint>
#include <vector>

#include "io/file.h"
#include "text/conversions.h"
#include "text/strict_utf8.h"
#include "text/template_encoding.h"
#include "text/utf8_encoding.h"

namespace tunora {
namespace {

constexpr char16_t kEndOfUnicodeText = 0xFFFF;
constexpr char16_t kReplacementCharacter = 0xFFFD;

}  // namespace

int loadTextFile(TextLines& lines, std::u16string_view path, bool unicode) {
  lines.clear();
  auto file = File::open(path, File::Mode::Read);
  if (!file) return -1;
  const std::int64_t length = file->size();
  if (length < 0) return -1;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  if (file->read(bytes) != bytes.size()) return -1;
  if (!file->close()) return -1;

  if (!unicode) {
    for (const std::uint8_t byte : bytes) lines.appendUnit(byte);
    return 1;
  }
  const TemplateEncoding encoding = templateEncodingOf(bytes);
  if (encoding == TemplateEncoding::Unsupported) return 1;
  // Pages are written as UTF-16 whichever form the template came in.
  lines.setUnicode(true);
  if (encoding == TemplateEncoding::Utf16LE) {
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
      if (unit == kEndOfUnicodeText) break;
      lines.appendUnit(unit);
    }
    return 1;
  }
  const std::size_t markSize = encoding == TemplateEncoding::Utf8WithMark ? 3 : 0;
  const std::u16string text = decodeUtf8Replacing(Bytes(bytes).subspan(markSize)).text;
  if (!text.empty()) lines.appendText(text);
  return 1;
}

bool loadTextResource(TextLines& lines, ModuleHandle module, int number) {
  lines.clear();
  const auto bytes = findHtmlResource(module, number);
  if (!bytes) return false;
  for (const std::uint8_t byte : *bytes) lines.appendUnit(byte);
  return true;
}

std::vector<std::uint8_t> encodeTextFile(const TextLines& lines, TextFileEncoding encoding) {
  std::vector<std::uint8_t> bytes;
  if (encoding == TextFileEncoding::Utf8) {
    std::u16string text;
    for (std::size_t i = 0; i < lines.lineCount(); ++i) {
      if (i > 0) text += u'\n';
      text += *lines.line(i);
    }
    const std::string utf8 = convertUTF16ToUTF8(text);
    bytes.assign(utf8.begin(), utf8.end());
    return bytes;
  }
  auto put = [&bytes](char16_t unit) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  };
  if (lines.lineCount() > 0) {
    if (lines.isUnicode()) put(kByteOrderMark);
    for (std::size_t i = 0; i < lines.lineCount(); ++i) {
      if (i > 0) put(u'\n');
      // A lone surrogate (a name's byte that is no UTF-8) is no text a
      // reader can show.
      const std::u16string_view line = *lines.line(i);
      for (std::size_t k = 0; k < line.size(); ++k) {
        const bool pair =
            isHighSurrogate(line[k]) && k + 1 < line.size() && isLowSurrogate(line[k + 1]);
        if (pair)
          put(line[k++]);
        else if (isHighSurrogate(line[k]) || isLowSurrogate(line[k])) {
          put(kReplacementCharacter);
          continue;
        }
        put(line[k]);
      }
    }
  }
  return bytes;
}

int saveTextFile(const TextLines& lines, std::u16string_view path, TextFileEncoding encoding) {
  return writeWholeFile(path, encodeTextFile(lines, encoding)) ? 1 : -1;
}

}  // namespace tunora
