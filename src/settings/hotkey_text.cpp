#include "settings/hotkey_text.h"

#include <array>
#include <utility>

#include "text/ascii_case.h"

namespace tunora {
namespace {

// Tested in this order; a text can start with one of them only.
constexpr std::array<std::pair<std::string_view, std::uint32_t>, 4> kPrefixes{{
    {"ALT+", kHotkeyAlt},
    {"WIN+", kHotkeyWindows},
    {"SHIFT+", kHotkeyShift},
    {"CTRL+", kHotkeyControl},
}};

}  // namespace

HotkeyChord parseHotkeyText(std::string_view text) {
  HotkeyChord chord;
  for (const auto& [prefix, modifier] : kPrefixes) {
    if (!text.starts_with(prefix)) continue;
    chord.modifiers = modifier;
    const std::string_view rest = text.substr(prefix.size());
    chord.key = rest.empty() ? 0 : static_cast<unsigned char>(upperAscii(rest.front()));
  }
  return chord;
}

}  // namespace tunora
