#include "host/system_hotkey.h"

#include "host/host_messages.h"
#include "settings/hotkey_text.h"

namespace tunora::host {

SystemHotkey::~SystemHotkey() {
  unregister();
}

bool SystemHotkey::registerText(std::string_view text) {
  unregister();
  atom_ = GlobalAddAtomA(kHotkeyAtomName);
  if (atom_ == 0) return false;
  const HotkeyChord chord = parseHotkeyText(text);
  if (chord.key != 0 && registerSystemHotkey(atom_, chord.modifiers, chord.key)) return true;
  GlobalDeleteAtom(atom_);
  atom_ = 0;
  return false;
}

void SystemHotkey::unregister() {
  if (atom_ == 0) return;
  unregisterSystemHotkey(atom_);
  GlobalDeleteAtom(atom_);
  atom_ = 0;
}

}  // namespace tunora::host
