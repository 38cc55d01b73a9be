#pragma once
// ASCII letter case: tag keys, atom types, extensions and the host's file
// names are compared this way. Other characters, accented letters included,
// stay as they are.

#include <string>
#include <string_view>

namespace tunora {

template <typename Char>
constexpr Char lowerAscii(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}
template <typename Char>
constexpr Char upperAscii(Char c) {
  return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}
std::string toLowerAscii(std::string_view text);
std::u16string toLowerAscii(std::u16string_view text);
std::string toUpperAscii(std::string_view text);
std::u16string toUpperAscii(std::u16string_view text);
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);
bool equalIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace tunora
