#include "text/natural_order.h"

namespace tunora {
namespace {

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Letter case folded for ASCII and the Latin-1 letters; other characters
// compare by their code.
char16_t folded(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  return c;
}

int sign(bool less) {
  return less ? -1 : 1;
}

// The end of the run of digits that starts at `at`.
std::size_t digitRunEnd(std::u16string_view text, std::size_t at) {
  while (at < text.size() && isDigit(text[at])) ++at;
  return at;
}

std::size_t firstNonZero(std::u16string_view text, std::size_t at, std::size_t end) {
  while (at < end && text[at] == u'0') ++at;
  return at;
}

}  // namespace

int compareNaturally(std::u16string_view a, std::u16string_view b) {
  // The first difference that folding or leading zeros hid: it decides only
  // when the names are otherwise alike.
  int tie = 0;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      // Compared as strings of digits, so that no run is too long for a number.
      const std::size_t endA = digitRunEnd(a, i);
      const std::size_t endB = digitRunEnd(b, j);
      const std::size_t startA = firstNonZero(a, i, endA);
      const std::size_t startB = firstNonZero(b, j, endB);
      const std::size_t lengthA = endA - startA;
      const std::size_t lengthB = endB - startB;
      if (lengthA != lengthB) return sign(lengthA < lengthB);
      const int digits = a.substr(startA, lengthA).compare(b.substr(startB, lengthB));
      if (digits != 0) return sign(digits < 0);
      // "7" before "007".
      if (tie == 0 && endA - i != endB - j) tie = sign(endA - i < endB - j);
      i = endA;
      j = endB;
      continue;
    }
    const char16_t foldedA = folded(a[i]);
    const char16_t foldedB = folded(b[j]);
    if (foldedA != foldedB) return sign(foldedA < foldedB);
    if (tie == 0 && a[i] != b[j]) tie = sign(a[i] < b[j]);
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return sign(i == a.size());
  return tie;
}

}  // namespace tunora
