#include "text/text_edits.h"

#include "text/unit_blocks.h"

namespace tunora {
namespace {

// The search of the standard library for 8-bit text (memchr, then a compare);
// for 16-bit text, one that tests four units at a time.
std::size_t findIn(std::string_view text, std::string_view search, std::size_t from) {
  return text.find(search, from);
}
std::size_t findIn(std::u16string_view text, std::u16string_view search, std::size_t from) {
  return unit_blocks::findText(text, search, from);
}

template <typename Char>
int replaceTextImpl(std::basic_string<Char>& text, std::basic_string_view<Char> search,
                    std::basic_string_view<Char> replacement, bool all) {
  if (search.empty()) return 0;
  const std::basic_string_view<Char> view(text);
  auto at = findIn(view, search, 0);
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
    at = findIn(view, search, from);
  }
  result.append(view.substr(from));
  text = std::move(result);
  return count;
}

template <typename Char>
std::basic_string<Char> trimBlanksImpl(std::basic_string_view<Char> text) {
  const auto first = text.find_first_not_of(Char(' '));
  if (first == text.npos) return {};
  const auto last = text.find_last_not_of(Char(' '));
  return std::basic_string<Char>(text.substr(first, last - first + 1));
}

}  // namespace

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

}  // namespace tunora
