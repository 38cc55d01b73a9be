#include "text/helpers.h"

#include <algorithm>

#include "text/conversions.h"

namespace tunora {
namespace {

template <typename Char>
std::size_t lastSeparator(std::basic_string_view<Char> path) {
  const auto backslash = path.rfind(Char('\\'));
  return backslash != std::basic_string_view<Char>::npos ? backslash : path.rfind(Char('/'));
}

template <typename Char>
std::basic_string<Char> fileNameOfImpl(std::basic_string_view<Char> path) {
  const auto at = lastSeparator(path);
  return std::basic_string<Char>(at == path.npos ? path : path.substr(at + 1));
}

template <typename Char>
std::basic_string<Char> folderOfImpl(std::basic_string_view<Char> path) {
  const auto at = lastSeparator(path);
  return std::basic_string<Char>(at == path.npos ? path : path.substr(0, at + 1));
}

template <typename Char>
std::basic_string<Char> extensionOfImpl(std::basic_string_view<Char> path) {
  const auto dot = path.rfind(Char('.'));
  if (dot == path.npos) return {'U', 'n', 'k', 'n', 'o', 'w', 'n'};
  return toUpperAscii(path.substr(dot + 1));
}

template <typename Char>
int replaceTextImpl(std::basic_string<Char>& text, std::basic_string_view<Char> search,
                    std::basic_string_view<Char> replacement, bool all) {
  if (search.empty()) return 0;
  const std::basic_string_view<Char> view(text);
  auto at = view.find(search);
  if (at == view.npos) return 0;
  // One pass into a new text: replacing in place would move the tail once per
  // occurrence, which is quadratic on a long line full of tokens.
  std::basic_string<Char> result;
  result.reserve(text.size());
  int count = 0;
  std::size_t from = 0;
  while (at != view.npos) {
    result.append(view.substr(from, at - from)).append(replacement);
    ++count;
    from = at + search.size();
    if (!all) break;
    at = view.find(search, from);
  }
  result.append(view.substr(from));
  text = std::move(result);
  return count;
}

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

template <typename Char>
std::basic_string<Char> trimBlanksImpl(std::basic_string_view<Char> text) {
  const auto first = text.find_first_not_of(Char(' '));
  if (first == text.npos) return {};
  const auto last = text.find_last_not_of(Char(' '));
  return std::basic_string<Char>(text.substr(first, last - first + 1));
}

}  // namespace

std::string fileNameOf(std::string_view path) {
  return fileNameOfImpl(path);
}
std::u16string fileNameOf(std::u16string_view path) {
  return fileNameOfImpl(path);
}
std::string folderOf(std::string_view path) {
  return folderOfImpl(path);
}
std::u16string folderOf(std::u16string_view path) {
  return folderOfImpl(path);
}
std::string extensionOf(std::string_view path) {
  return extensionOfImpl(path);
}
std::u16string extensionOf(std::u16string_view path) {
  return extensionOfImpl(path);
}

int replaceText(std::string& text, std::string_view search, std::string_view replacement,
                bool all) {
  return replaceTextImpl(text, search, replacement, all);
}

int replaceText(std::u16string& text, std::u16string_view search, std::u16string_view replacement,
                bool all) {
  return replaceTextImpl(text, search, replacement, all);
}

std::string trimBlanks(std::string_view text) {
  return trimBlanksImpl(text);
}
std::u16string trimBlanks(std::u16string_view text) {
  return trimBlanksImpl(text);
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.ends_with(suffix);
}
bool endsWith(std::u16string_view text, std::u16string_view suffix) {
  return text.ends_with(suffix);
}

int hexDigitValue(char16_t c) {
  if (c >= u'1' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return 0;
}

bool reduceYear(std::u16string& year) {
  std::size_t runStart = 0;
  std::size_t runLength = 0;
  for (std::size_t i = 0; i < year.size() && year[i] != 0; ++i) {
    if (year[i] >= u'0' && year[i] <= u'9') {
      if (runLength++ == 0) runStart = i;
      if (runLength == 4) {
        year = year.substr(runStart, 4);
        return true;
      }
    } else {
      runLength = 0;
    }
  }
  year = u"Unknown";
  return false;
}

void stripGenreNumber(std::u16string& genre) {
  if (genre.empty() || genre[0] != u'(') return;
  const auto close = genre.find(u')');
  if (close != genre.npos) genre.erase(0, close + 1);
}

std::string percentEncode(std::string_view text, PercentEncoding encoding) {
  constexpr char kHex[] = "0123456789ABCDEF";
  const std::string_view kept = encoding == PercentEncoding::UrlComponent ? "-._~" : "-._*";
  std::string encoded;
  encoded.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') || kept.find(c) != kept.npos;
    if (plain) {
      encoded += c;
    } else if (byte == ' ' && encoding == PercentEncoding::FormValue) {
      encoded += '+';
    } else {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

std::u16string decimalText(std::uint64_t value) {
  return widenLatin1(std::to_string(value));
}

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
