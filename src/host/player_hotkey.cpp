#include "host/player_hotkey.h"

#include "host/host_messages.h"

namespace tunora::host {
namespace {

PlayerHotkeyRecord coverSearchHotkey{"TN: Search for Cover",
                                     0,
                                     kPlayerMessage,
                                     kCoverSearchToggle,
                                     kCoverSearchToggle,
                                     "Tunora_ShowCover",
                                     nullptr,
                                     {}};

}  // namespace

void postPlayerHotkey(HWND mainWindow) {
  const auto number = hotkeyMessageNumber(mainWindow);
  if (!number) return;
  coverSearchHotkey.window = mainWindow;
  PostMessageW(mainWindow, kPlayerMessage, reinterpret_cast<WPARAM>(&coverSearchHotkey),
               static_cast<LPARAM>(*number));
}

}  // namespace tunora::host
