#pragma once
// Which encoding a template file is in, and its text. Templates were always
// UTF-16LE with a byte-order mark; editors save UTF-8 today, with or without
// a mark. A file that is neither (UTF-16 without a mark, UTF-16BE, binary)
// gives no text, as before.

#include "text/byte_reader.h"

namespace tunora {

enum class TemplateEncoding {
  Utf16LE,       // starts with FF FE
  Utf8WithMark,  // starts with EF BB BF
  Utf8,          // no mark and no NUL byte
  Unsupported,   // a NUL byte without a mark, or the big-endian mark FE FF
};

TemplateEncoding templateEncodingOf(Bytes bytes);

}  // namespace tunora
