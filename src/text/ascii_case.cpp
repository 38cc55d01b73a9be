#include "text/ascii_case.h"

#include <algorithm>

namespace tunora {
namespace {

template <typename Char>
std::basic_string<Char> toLowerImpl(std::basic_string_view<Char> text) {
  std::basic_string<Char> lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii<Char>);
  return lower;
}

template <typename Char>
std::basic_string<Char> toUpperImpl(std::basic_string_view<Char> text) {
  std::basic_string<Char> upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), upperAscii<Char>);
  return upper;
}

template <typename Char>
bool equalIgnoringCaseImpl(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](Char x, Char y) { return lowerAscii(x) == lowerAscii(y); });
}

}  // namespace

std::string toLowerAscii(std::string_view text) {
  return toLowerImpl(text);
}
std::u16string toLowerAscii(std::u16string_view text) {
  return toLowerImpl(text);
}
std::string toUpperAscii(std::string_view text) {
  return toUpperImpl(text);
}
std::u16string toUpperAscii(std::u16string_view text) {
  return toUpperImpl(text);
}
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return equalIgnoringCaseImpl(a, b);
}
bool equalIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return equalIgnoringCaseImpl(a, b);
}

}  // namespace tunora
