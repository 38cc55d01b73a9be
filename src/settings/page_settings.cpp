#include "settings/page_settings.h"

#include <utility>

#include "hostlink/player_names.h"
#include "io/file.h"
#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace tunora {
namespace {

constexpr std::array<std::string_view, kTemplateSlotCount> kTemplateValueNames{
    "TemplateTrack", "TemplateMultiple", "TemplateDirectory", "TemplateMini"};

constexpr std::array<std::u16string_view, kTemplateSlotCount> kDefaultTemplateNames{
    u"plugins\\ml_tunora\\Default (Single Track).html",
    u"plugins\\ml_tunora\\Default (Multiple Tracks).html",
    u"plugins\\ml_tunora\\Default (Directory).html", u"plugins\\ml_tunora\\Default (Mini).html"};

// In the order they are stored; the types read since the first six come after
// them, on by default like every switch without a stored value.
constexpr std::array<std::pair<std::string_view, bool FileTypeSwitches::*>, 12> kSwitchValues{{
    {"mp3Enabled", &FileTypeSwitches::mp3},
    {"mp4Enabled", &FileTypeSwitches::mp4},
    {"oggEnabled", &FileTypeSwitches::ogg},
    {"flacEnabled", &FileTypeSwitches::flac},
    {"mpcEnabled", &FileTypeSwitches::mpc},
    {"aacEnabled", &FileTypeSwitches::aac},
    {"opusEnabled", &FileTypeSwitches::opus},
    {"wavEnabled", &FileTypeSwitches::wav},
    {"aiffEnabled", &FileTypeSwitches::aiff},
    {"wavPackEnabled", &FileTypeSwitches::wavPack},
    {"apeEnabled", &FileTypeSwitches::monkeysAudio},
    {"wmaEnabled", &FileTypeSwitches::asf},
}};

constexpr std::size_t kPathCapacity = kSettingsPathMaxLength + 1;

}  // namespace

std::u16string defaultTemplatePath(std::u16string_view executablePath, TemplateSlot slot) {
  const std::u16string name = fileNameOf(executablePath);
  if (toLowerAscii(name) != kPlayerExecutableName) return {};
  const std::u16string_view folder = executablePath.substr(0, executablePath.size() - name.size());
  return std::u16string(folder) +
         std::u16string(kDefaultTemplateNames[static_cast<std::size_t>(slot)]);
}

PageSettings loadPageSettings(const SettingsStore& store, std::u16string_view executablePath) {
  PageSettings settings;
  if (const auto key = store.openForReading()) {
    for (std::size_t slot = 0; slot < kTemplateSlotCount; ++slot)
      if (const auto path = key->readText(kTemplateValueNames[slot], kPathCapacity))
        settings.templatePaths[slot] = pathFromNative(*path);
    settings.coverName = pathFromNative(key->readText("Covername", kPathCapacity).value_or(""));
    for (const auto& [name, flag] : kSwitchValues)
      settings.switches.*flag = key->readByte(name).value_or(1) != 0;
    // Only the first run, without any key, gives the focus back by default.
    settings.setFocus = key->readByte("setFocus").value_or(0) != 0;
  }
  for (std::size_t slot = 0; slot < kTemplateSlotCount; ++slot)
    if (settings.templatePaths[slot].empty())
      settings.templatePaths[slot] =
          defaultTemplatePath(executablePath, static_cast<TemplateSlot>(slot));
  if (settings.coverName.empty()) settings.coverName = kDefaultCoverName;
  return settings;
}

void savePageSettings(SettingsStore& store, const PageSettings& settings) {
  const auto key = store.createForWriting();
  if (!key) return;
  for (std::size_t slot = 0; slot < kTemplateSlotCount; ++slot)
    key->writeText(kTemplateValueNames[slot], pathToNative(settings.templatePaths[slot]));
  key->writeText("Covername", pathToNative(settings.coverName));
  for (const auto& [name, flag] : kSwitchValues) key->writeByte(name, settings.switches.*flag);
  key->writeByte("setFocus", settings.setFocus);
}

}  // namespace tunora
