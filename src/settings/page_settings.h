#pragma once
// The page generator's settings: a template per kind of page, the cover file
// pattern, the per-type switches and whether the focus goes back to the
// player after a page.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/file_type_switches.h"
#include "settings/settings_store.h"

namespace tunora {

enum class TemplateSlot { SingleTrack, MultipleTracks, Directory, Mini };
inline constexpr std::size_t kTemplateSlotCount = 4;

// Stored paths and the cover name keep to this many characters.
inline constexpr std::size_t kSettingsPathMaxLength = 258;
inline constexpr std::u16string_view kDefaultCoverName = u"folder.jpg";

struct PageSettings {
  // Indexed by TemplateSlot; empty until chosen.
  std::array<std::u16string, kTemplateSlotCount> templatePaths;
  // Searched beside the music: %a/%A artist, %b/%B album, %y/%Y year.
  std::u16string coverName{kDefaultCoverName};
  FileTypeSwitches switches;
  bool setFocus = true;

  std::u16string& templatePath(TemplateSlot slot) {
    return templatePaths[static_cast<std::size_t>(slot)];
  }
  const std::u16string& templatePath(TemplateSlot slot) const {
    return templatePaths[static_cast<std::size_t>(slot)];
  }
};

// Where a template is looked for when none is chosen: beside the player's
// plug-ins, "plugins\ml_tunora\Default (Single Track).html" and so on in the
// folder of `executablePath`. Empty unless that executable is the player's
// "winamp.exe" (letter case ignored).
std::u16string defaultTemplatePath(std::u16string_view executablePath, TemplateSlot slot);

// The defaults wherever the store has no readable value. A missing or empty
// template path gives the default path; a key without "setFocus" gives
// false, no key at all true.
PageSettings loadPageSettings(const SettingsStore& store, std::u16string_view executablePath);
// Writes nothing when the key cannot be created.
void savePageSettings(SettingsStore& store, const PageSettings& settings);

}  // namespace tunora
