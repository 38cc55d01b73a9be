// The cover search's hotkeys in the stand-in player: the preferences' hotkey
// field, the system-wide registration that a confirmed change makes, its
// press, and what quit takes back.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "dialog_driver.h"
#include "host/hotkey_field.h"
#include "host/plugin.h"
#include "host/system_hotkey.h"
#include "standin_host.h"

namespace tunora::standin {
namespace {

constexpr char kSettingsKey[] = "Software\\Winamp\\ml_tunora";
constexpr char kTitle[] = "Tunora-Plugin Configuration";
constexpr char kAtomName[] = "Tunora-Plugin for Winamp";

// Whether a hotkey of another program would find the chord taken.
bool chordTaken(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 0x1234, modifiers, key)) return true;
  UnregisterHotKey(nullptr, 0x1234);
  return false;
}

class HotkeyFieldKeys : public ::testing::Test {
 protected:
  HotkeyFieldKeys()
      : edit_(CreateWindowExA(0, "EDIT", "WIN+C", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr)),
        field_(std::make_unique<host::HotkeyField>(edit_)) {}
  ~HotkeyFieldKeys() override {
    field_.reset();
    DestroyWindow(edit_);
  }

  std::string text() const {
    char buffer[64] = {};
    GetWindowTextA(edit_, buffer, sizeof buffer);
    return buffer;
  }
  void down(UINT key) { SendMessageA(edit_, WM_KEYDOWN, key, 0); }
  void up(UINT key) { SendMessageA(edit_, WM_KEYUP, key, 0); }
  void altDown(UINT key) { SendMessageA(edit_, WM_SYSKEYDOWN, key, 0x20000000); }
  void altUp(UINT key) { SendMessageA(edit_, WM_SYSKEYUP, key, 0x20000000); }

  HWND edit_;
  std::unique_ptr<host::HotkeyField> field_;
};

TEST_F(HotkeyFieldKeys, AModifierAndAKeyShowTheChord) {
  down(VK_CONTROL);
  EXPECT_EQ(text(), "CTRL+");
  down(VK_CONTROL);  // repeats while held
  down('A');
  EXPECT_EQ(text(), "CTRL+A");
  up(VK_CONTROL);
  EXPECT_EQ(text(), "CTRL+A");

  // Shift and Control together: Control names the chord.
  down(VK_SHIFT);
  down(VK_CONTROL);
  down('9');
  EXPECT_EQ(text(), "CTRL+9");
  up(VK_SHIFT);
  up(VK_CONTROL);

  altDown(VK_MENU);
  EXPECT_EQ(text(), "ALT+");
  altDown('Z');
  EXPECT_EQ(text(), "ALT+Z");
  altUp(VK_MENU);
  EXPECT_EQ(text(), "ALT+Z");

  down(VK_LWIN);
  down('0');
  EXPECT_EQ(text(), "WIN+0");
  up(VK_LWIN);
  // Once combined, a bare key shows itself until a modifier goes down.
  down('Q');
  EXPECT_EQ(text(), "Q");
}

TEST_F(HotkeyFieldKeys, AModifierReleasedAloneBringsTheTextBackAndNothingIsTyped) {
  down(VK_SHIFT);
  EXPECT_EQ(text(), "SHIFT+");
  up(VK_SHIFT);
  EXPECT_EQ(text(), "WIN+C");
  altDown(VK_MENU);
  altUp(VK_MENU);
  EXPECT_EQ(text(), "WIN+C");
  // A bare key without a chord before, and typing, change nothing.
  down('K');
  SendMessageA(edit_, WM_CHAR, 'k', 0);
  EXPECT_EQ(text(), "WIN+C");

  // Every key code in every key message: the text stays a short chord.
  for (const UINT message : {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR})
    for (UINT key = 0; key <= 0xFF; ++key) SendMessageA(edit_, message, key, 0);
  EXPECT_LE(text().size(), 8u);
}

TEST(SystemHotkey, TheTextDecidesTheChordAndTheAtomGoesWithTheRegistration) {
  StandinHost player;  // the window the hotkey is registered for
  ASSERT_FALSE(chordTaken(MOD_CONTROL, 'X'));
  {
    host::SystemHotkey hotkey;
    ASSERT_TRUE(hotkey.registerText("CTRL+X"));
    EXPECT_NE(hotkey.atom(), 0);
    EXPECT_TRUE(chordTaken(MOD_CONTROL, 'X'));
    EXPECT_FALSE(chordTaken(MOD_WIN, 'C'));
    ASSERT_TRUE(hotkey.registerText("F5"));
    EXPECT_FALSE(chordTaken(MOD_CONTROL, 'X'));
    EXPECT_TRUE(chordTaken(MOD_WIN, 'C'));
    // No key after the prefix: nothing is registered and no atom kept.
    EXPECT_FALSE(hotkey.registerText("ALT+"));
    EXPECT_EQ(hotkey.atom(), 0);
    EXPECT_FALSE(chordTaken(MOD_WIN, 'C'));
    ASSERT_TRUE(hotkey.registerText("SHIFT+7"));
  }
  EXPECT_FALSE(chordTaken(MOD_SHIFT, '7'));
  EXPECT_EQ(GlobalFindAtomA(kAtomName), 0);
}

// A press of Control and `key` as the keyboard makes it.
void pressControlWith(WORD key) {
  INPUT keys[4] = {};
  const WORD codes[4] = {VK_CONTROL, key, key, VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i];
    keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  SendInput(4, keys, sizeof(INPUT));
}

class HotkeyInPlayer : public ::testing::Test {
 protected:
  HotkeyInPlayer() { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }
  ~HotkeyInPlayer() override {
    player_.quit();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  }

  // Confirms the preferences with `text` in the hidden hotkey field.
  void confirmHotkey(const std::function<void()>& open, const char* text) {
    const DialogRun run = whileDialogOpen(
        kTitle,
        [&](HWND dialog) {
          SetDlgItemTextA(dialog, 1082, text);
          click(dialog, IDOK);
        },
        open);
    EXPECT_TRUE(run.found);
  }

  StandinHost player_;
};

TEST_F(HotkeyInPlayer, AChangedHotkeyIsRegisteredAndQuitTakesItBack) {
  ASSERT_TRUE(player_.load());
  ASSERT_EQ(player_.init(), 0);
  const auto configure = [&] { player_.record()->messageProc(1024, 0, 0, 0); };
  // Unchanged, nothing is registered.
  confirmHotkey(configure, "WIN+C");
  EXPECT_FALSE(chordTaken(MOD_WIN, 'C'));
  confirmHotkey(configure, "CTRL+X");
  EXPECT_TRUE(chordTaken(MOD_CONTROL, 'X'));
  confirmHotkey(configure, "F5");
  EXPECT_FALSE(chordTaken(MOD_CONTROL, 'X'));
  EXPECT_TRUE(chordTaken(MOD_WIN, 'C'));
  confirmHotkey(configure, "ALT+1");
  EXPECT_TRUE(chordTaken(MOD_ALT, '1'));
  player_.quit();
  EXPECT_FALSE(chordTaken(MOD_ALT, '1'));
  // Three registrations, and no atom of ours is left behind.
  EXPECT_EQ(GlobalFindAtomA(kAtomName), 0);
}

TEST_F(HotkeyInPlayer, ThePressOpensTheCoverSearchAndTheNextOneClosesIt) {
  ASSERT_TRUE(player_.load());
  ASSERT_EQ(player_.init(), 0);
  confirmHotkey([&] { player_.record()->messageProc(1024, 0, 0, 0); }, "CTRL+Q");
  bool closed = false;
  const DialogRun run = whileDialogOpen(
      "Cover-Search",
      [&](HWND dialog) {
        pressControlWith('Q');
        // The dialog's own loop delivers the press.
        for (int i = 0; i < 50 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) {
          MSG message;
          while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
          Sleep(20);
        }
        closed = !IsWindowVisible(dialog);
        if (!closed) SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      },
      [&] {
        pressControlWith('Q');
        for (int i = 0; i < 50; ++i) {
          Sleep(20);
          player_.pumpMessages();
        }
      });
  EXPECT_TRUE(run.found);
  EXPECT_TRUE(closed);
}

TEST_F(HotkeyInPlayer, APressOfTheSystemHotkeyTogglesTheCoverSearch) {
  ASSERT_TRUE(player_.load());
  host::PluginRecord record{};
  record.hostMainWindow = player_.mainWindow();
  record.libraryParentWindow = player_.libraryParent();
  record.moduleInstance = player_.module();
  host::Plugin plugin(record);
  int toggles = 0;
  plugin.toggleCoverSearch = [&] { ++toggles; };
  confirmHotkey([&] { plugin.onPluginMessage(1024, 0, 0, 0); }, "CTRL+Q");
  const ATOM atom = plugin.systemHotkey().atom();
  ASSERT_NE(atom, 0);

  // Another program's hotkey message does nothing; ours toggles.
  SendMessageA(player_.mainWindow(), WM_HOTKEY, atom + 1, 0);
  EXPECT_EQ(toggles, 0);
  pressControlWith('Q');
  for (int i = 0; i < 25 && toggles == 0; ++i) {
    Sleep(20);
    player_.pumpMessages();
  }
  EXPECT_EQ(toggles, 1);
  // The player's own hotkey message toggles it as well.
  SendMessageA(player_.mainWindow(), 1024, 100, 100);
  EXPECT_EQ(toggles, 2);
}

}  // namespace
}  // namespace tunora::standin
