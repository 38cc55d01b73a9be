#include "settings/global_settings.h"

namespace tunora {

GlobalSettings loadGlobalSettings(const SettingsStore& store) {
  GlobalSettings settings;
  if (const auto key = store.openForReading()) {
    settings.hotkey = key->readText("hotkey", kHotkeyMaxLength + 1).value_or("");
    settings.autoUpdateEnabled = key->readByte("autoUpdateEnabled").value_or(1) != 0;
    settings.autoShowEnabled = key->readByte("autoShowEnabled").value_or(1) != 0;
    settings.showMini = key->readByte("showMini").value_or(1) != 0;
  }
  if (settings.hotkey.empty()) settings.hotkey = kDefaultHotkey;
  return settings;
}

void saveGlobalSettings(SettingsStore& store, const GlobalSettings& settings) {
  const auto key = store.createForWriting();
  if (!key) return;
  key->writeText("hotkey", settings.hotkey);
  key->writeByte("autoUpdateEnabled", settings.autoUpdateEnabled);
  key->writeByte("autoShowEnabled", settings.autoShowEnabled);
  key->writeByte("showMini", settings.showMini);
}

}  // namespace tunora
