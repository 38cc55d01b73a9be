// A template file's bytes: the encoding detection and the strict UTF-8
// decoder. Well-formed UTF-8 must come back byte for byte when encoded again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "text/conversions.h"
#include "text/strict_utf8.h"
#include "text/template_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  (void)tunora::templateEncodingOf(bytes);
  const tunora::Utf8Text decoded = tunora::decodeUtf8Replacing(bytes);
  if (decoded.text.size() > size) std::abort();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (decoded.invalidSequences == 0 && input.find('\0') == std::string_view::npos &&
      tunora::convertUTF16ToUTF8(decoded.text) != input)
    std::abort();
  return 0;
}
