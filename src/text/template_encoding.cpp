#include "text/template_encoding.h"

#include <algorithm>

namespace tunora {

TemplateEncoding templateEncodingOf(Bytes bytes) {
  if (startsWith(bytes, "\xFF\xFE")) return TemplateEncoding::Utf16LE;
  if (startsWith(bytes, "\xEF\xBB\xBF")) return TemplateEncoding::Utf8WithMark;
  if (startsWith(bytes, "\xFE\xFF")) return TemplateEncoding::Unsupported;
  // UTF-16 without a mark has a NUL in nearly every other byte; text never.
  if (std::find(bytes.begin(), bytes.end(), 0) != bytes.end()) return TemplateEncoding::Unsupported;
  return TemplateEncoding::Utf8;
}

}  // namespace tunora
