#pragma once
// The plug-in's own settings: the cover-search hotkey and the three switches
// of song following, kept from init to quit.

#include <cstddef>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace tunora {

inline constexpr std::size_t kHotkeyMaxLength = 9;
inline constexpr std::string_view kDefaultHotkey = "WIN+C";

struct GlobalSettings {
  // In the text form the hotkey parser reads, e.g. "CTRL+ALT+F".
  std::string hotkey{kDefaultHotkey};
  // Build the page of the playing track when the song changes.
  bool autoUpdateEnabled = true;
  // After such an update, bring up the minibrowser if the library is visible.
  bool autoShowEnabled = true;
  // Keep the Mini page in the Media Library up to date.
  bool showMini = true;
};

// The defaults wherever the store has no readable value; a missing, empty
// or too long hotkey is "WIN+C".
GlobalSettings loadGlobalSettings(const SettingsStore& store);
// Writes nothing when the key cannot be created.
void saveGlobalSettings(SettingsStore& store, const GlobalSettings& settings);

}  // namespace tunora
