#include "settings/hotkey_text.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(HotkeyText, EachPrefixGivesItsModifierAndTheCharacterAfterIt) {
  EXPECT_EQ(parseHotkeyText("CTRL+X"), (HotkeyChord{kHotkeyControl, 'X'}));
  EXPECT_EQ(parseHotkeyText("ALT+0"), (HotkeyChord{kHotkeyAlt, '0'}));
  EXPECT_EQ(parseHotkeyText("SHIFT+Z"), (HotkeyChord{kHotkeyShift, 'Z'}));
  EXPECT_EQ(parseHotkeyText("WIN+9"), (HotkeyChord{kHotkeyWindows, '9'}));
  // Only the character right after the prefix counts.
  EXPECT_EQ(parseHotkeyText("CTRL+AB"), (HotkeyChord{kHotkeyControl, 'A'}));
}

TEST(HotkeyText, WithoutAKnownPrefixItIsWindowsC) {
  for (const char* text : {"F5", "", "X", "CTRL", "ctrl+x", " CTRL+X", "ALT-X"})
    EXPECT_EQ(parseHotkeyText(text), (HotkeyChord{kHotkeyWindows, 'C'})) << text;
}

TEST(HotkeyText, ALowerCaseLetterIsItsKeyAndNoCharacterIsNoKey) {
  // 'x' as a virtual-key code would be F9.
  EXPECT_EQ(parseHotkeyText("CTRL+x"), (HotkeyChord{kHotkeyControl, 'X'}));
  EXPECT_EQ(parseHotkeyText("CTRL+"), (HotkeyChord{kHotkeyControl, 0}));
}

}  // namespace
}  // namespace tunora
