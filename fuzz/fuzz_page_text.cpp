// The forms page text takes on its way to the disk, on arbitrary UTF-16:
// links must come out as ASCII, and a UTF-16 page must hold no lone
// surrogate, whatever units (file names' odd bytes included) went in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "htmlcreator/html_escape.h"
#include "io/text_file.h"
#include "text/utf8_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    text += static_cast<char16_t>(data[i] | data[i + 1] << 8);

  for (const char16_t unit : tunora::encodeUrlComponent(text))
    if (unit >= 0x80) std::abort();
  tunora::TextLines page;
  page.setUnicode(true);
  page.appendLine(tunora::escapeHtml(text));
  page.appendLine(text);
  const auto bytes = tunora::encodeTextFile(page, tunora::TextFileEncoding::Utf16);
  bool highBefore = false;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    if (tunora::isLowSurrogate(unit) != highBefore) std::abort();
    highBefore = tunora::isHighSurrogate(unit);
  }
  if (highBefore) std::abort();
  tunora::encodeTextFile(page, tunora::TextFileEncoding::Utf8);
  return 0;
}
