#pragma once
// Numbers written as text and digits read from it.

#include <cstdint>
#include <string>

namespace tunora {

// Decimal digits without padding or separators.
std::u16string decimalText(std::uint64_t value);
// "1"-"9", "A"-"F", "a"-"f" give their value; anything else 0.
int hexDigitValue(char16_t c);

}  // namespace tunora
