#include "skin/playlist_colours.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace tunora {
namespace {

constexpr std::size_t kDigitCount = 6;

bool isHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

}  // namespace

void readPlaylistColours(const TextLines& pledit, PageColours& colours) {
  const std::pair<std::u16string_view, std::u16string PageColours::*> keys[] = {
      {u"Current=#", &PageColours::current},
      {u"Normal=#", &PageColours::normal},
      {u"NormalBG=#", &PageColours::normalBackground},
      {u"SelectedBG=#", &PageColours::selectedBackground}};
  for (const auto& [key, colour] : keys) {
    const int found = pledit.findLine(key);
    // A key on the last line is not read: pages have always been coloured so.
    if (found < 0 || static_cast<std::size_t>(found) + 1 >= pledit.lineCount()) continue;
    const std::u16string_view line = *pledit.line(static_cast<std::size_t>(found));
    const std::size_t hash = line.find(u'#');
    if (line.size() - hash <= kDigitCount) continue;
    const std::u16string_view digits = line.substr(hash + 1, kDigitCount);
    // The value goes into the page as it stands: anything but six hex digits
    // could carry markup or script into it.
    if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) continue;
    colours.*colour = u"#" + std::u16string(digits);
  }
}

}  // namespace tunora
