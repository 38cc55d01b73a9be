#include "text/number_text.h"

#include "text/conversions.h"

namespace tunora {

std::u16string decimalText(std::uint64_t value) {
  return widenLatin1(std::to_string(value));
}

int hexDigitValue(char16_t c) {
  if (c >= u'1' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return 0;
}

}  // namespace tunora
