#pragma once
// The text form of the cover search's system-wide hotkey: a modifier prefix
// and one character, e.g. "CTRL+X". The character is the key's virtual-key
// code, so it is an upper-case letter or a digit.

#include <cstdint>
#include <string_view>

namespace tunora {

// The modifier bits the system's hotkey registration takes.
inline constexpr std::uint32_t kHotkeyAlt = 1;
inline constexpr std::uint32_t kHotkeyControl = 2;
inline constexpr std::uint32_t kHotkeyShift = 4;
inline constexpr std::uint32_t kHotkeyWindows = 8;

struct HotkeyChord {
  std::uint32_t modifiers = kHotkeyWindows;
  // 0 when the prefix is not followed by a character.
  std::uint32_t key = 'C';

  bool operator==(const HotkeyChord&) const = default;
};

// A text without a known prefix ("F5", "") gives Windows+C. A lower-case
// letter after the prefix stands for its key: taken as a code, "x" would be
// the function key F9.
HotkeyChord parseHotkeyText(std::string_view text);

}  // namespace tunora
