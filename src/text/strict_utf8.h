#pragma once
// UTF-8 decoded strictly, each ill-formed sequence counted and shown as one
// replacement character: for templates, and for texts that are UTF-8 only
// when all of their bytes are.

#include <cstddef>
#include <string>

#include "text/byte_reader.h"

namespace tunora {

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
