#pragma once
// The cover search's entry in the player's own hotkey service: the player
// lists it as "TN: Search for Cover", and once the user binds a key to it,
// sends the record's message to its main window, which toggles the search.

#include <windows.h>

#include <cstddef>

namespace tunora::host {

// Thirteen 32-bit fields, as the player's hotkey service reads them.
struct PlayerHotkeyRecord {
  const char* name;
  int flags;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  const char* identifier;
  HWND window;
  int reserved[6];
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PlayerHotkeyRecord) == 52, "the player reads thirteen 32-bit fields");
static_assert(offsetof(PlayerHotkeyRecord, window) == 24);
#endif

// Posts the record to the main window when the player has the service. The
// player keeps the record's address, so it lives as long as the module.
void postPlayerHotkey(HWND mainWindow);

}  // namespace tunora::host
