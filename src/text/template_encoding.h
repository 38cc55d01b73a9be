#pragma once
// Which encoding a template file is in, and its text. Templates were always
// UTF-16LE with a byte-order mark; editors save UTF-8 today, with or without
// a mark. A file that is neither (UTF-16 without a mark, UTF-16BE, binary)
// gives no text, as before.

#include <cstddef>
#include <string>

#include "text/byte_reader.h"

namespace tunora {

enum class TemplateEncoding {
  Utf16LE,       // starts with FF FE
  Utf8WithMark,  // starts with EF BB BF
  Utf8,          // no mark and no NUL byte
  Unsupported,   // a NUL byte without a mark, or the big-endian mark FE FF
};

TemplateEncoding templateEncodingOf(Bytes bytes);

struct Utf8Text {
  std::u16string text;
  // Ill-formed sequences, each shown as one U+FFFD.
  std::size_t invalidSequences = 0;
  // The 0-based line of the first of them (lines end at LF).
  std::size_t firstInvalidLine = 0;
};

// Strict UTF-8 (RFC 3629): overlong forms, surrogates, code points above
// U+10FFFF, stray continuation bytes and cut sequences each become one
// U+FFFD for the longest run of bytes that could have begun a character.
Utf8Text decodeUtf8Replacing(Bytes bytes);

}  // namespace tunora
