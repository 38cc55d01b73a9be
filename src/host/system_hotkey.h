#pragma once
// The cover search's system-wide hotkey, registered for the player's window
// of class "Winamp v1.x" under a global atom. The atom is deleted again with
// the registration, so that repeated changes of the hotkey leave no atoms
// behind in the system's table.

#include <windows.h>

#include <string_view>

namespace tunora::host {

inline constexpr char kHotkeyAtomName[] = "Tunora-Plugin for Winamp";

class SystemHotkey {
 public:
  SystemHotkey() = default;
  // Unregisters what is registered.
  ~SystemHotkey();
  SystemHotkey(const SystemHotkey&) = delete;
  SystemHotkey& operator=(const SystemHotkey&) = delete;

  // Registers the hotkey of `text` (settings/hotkey_text.h); false, with no
  // hotkey left registered, when the system refuses it.
  bool registerText(std::string_view text);
  // Takes the registration and its atom back; nothing when there is none.
  void unregister();

  ATOM atom() const { return atom_; }
  // Whether a WM_HOTKEY with this wParam is a press of ours.
  bool isPress(WPARAM id) const { return atom_ != 0 && id == atom_; }

 private:
  ATOM atom_ = 0;
};

}  // namespace tunora::host
