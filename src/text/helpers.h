#pragma once
// Small shared helpers: path splitting, search and replace, trimming, ASCII
// letter case, and the year and genre normalisations of the track classes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// Path splitting works on 8-bit and 16-bit paths alike. A backslash wins over
// a slash: only a path without any backslash is split at its last slash.
std::string fileNameOf(std::string_view path);
std::u16string fileNameOf(std::u16string_view path);
// Up to and including the last separator; the whole path if it has none.
std::string folderOf(std::string_view path);
std::u16string folderOf(std::u16string_view path);
// After the last "." anywhere in the path, upper-cased (ASCII); "Unknown"
// when the path has no ".".
std::string extensionOf(std::string_view path);
std::u16string extensionOf(std::u16string_view path);

// Little-endian; readers of big-endian fields pass the bytes reversed.
constexpr std::uint32_t uint32FromBytes(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
                                        std::uint8_t b3) {
  return b0 | static_cast<std::uint32_t>(b1) << 8 | static_cast<std::uint32_t>(b2) << 16 |
         static_cast<std::uint32_t>(b3) << 24;
}

// Replaces the first occurrence, or all of them; the search resumes after the
// inserted replacement, so a replacement that contains the search text is not
// replaced again. An empty search text does nothing. Gives the count.
int replaceText(std::string& text, std::string_view search, std::string_view replacement, bool all);
int replaceText(std::u16string& text, std::u16string_view search, std::u16string_view replacement,
                bool all);

// Without leading and trailing blanks (0x20 only).
std::string trimBlanks(std::string_view text);
std::u16string trimBlanks(std::u16string_view text);
// Letter case counts; an empty suffix always matches.
bool endsWith(std::string_view text, std::string_view suffix);
bool endsWith(std::u16string_view text, std::u16string_view suffix);
// "1"-"9", "A"-"F", "a"-"f" give their value; anything else 0.
int hexDigitValue(char16_t c);
// Keeps the first run of four digits; without one the text becomes "Unknown"
// and the result is false.
bool reduceYear(std::u16string& year);
// Drops a leading "(...)" group: "(17)Rock" -> "Rock".
void stripGenreNumber(std::u16string& genre);

// Percent-encoding of 8-bit text: letters and digits stay, every other byte
// becomes "%XX". As a URL component "-._~" stay too; as a form value
// ("application/x-www-form-urlencoded") "-._*" stay and a blank becomes "+".
enum class PercentEncoding { UrlComponent, FormValue };
std::string percentEncode(std::string_view text, PercentEncoding encoding);

// Decimal digits without padding or separators.
std::u16string decimalText(std::uint64_t value);

// ASCII letter case: tag keys, atom types, extensions and the host's file
// names are compared this way. Other characters, accented letters included,
// stay as they are.
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
