// Feeds arbitrary registry values to the settings readers: the input is a
// list of records (value number, kind, length, bytes), each stored under one
// of the names the plug-in reads, then every group of settings is loaded.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "coversearch/cover_search_settings.h"
#include "settings/global_settings.h"
#include "settings/hotkey_text.h"
#include "settings/memory_settings_store.h"
#include "settings/page_settings.h"

namespace {

constexpr const char* kNames[] = {
    "TemplateTrack", "TemplateMultiple", "TemplateDirectory", "TemplateMini",       "Covername",
    "mp3Enabled",    "mp4Enabled",       "oggEnabled",        "flacEnabled",        "mpcEnabled",
    "aacEnabled",    "hotkey",           "autoUpdateEnabled", "autoShowEnabled",    "showMini",
    "StoreHostUS",   "StoreHostDE",      "MusicBrainzUrl",    "CoverArtArchiveUrl", "CoverSource"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::MemorySettingsStore store;
  std::size_t at = 0;
  while (at + 3 <= size) {
    const char* name = kNames[data[at] % std::size(kNames)];
    const auto kind =
        data[at + 1] & 1 ? tunora::SettingsValueKind::Binary : tunora::SettingsValueKind::Text;
    const std::size_t length = std::min<std::size_t>(data[at + 2], size - at - 3);
    at += 3;
    store.put(name, kind, std::vector<std::uint8_t>(data + at, data + at + length));
    at += length;
  }
  // The hotkey text as the plug-in parses it for registering.
  tunora::parseHotkeyText(tunora::loadGlobalSettings(store).hotkey);
  tunora::loadPageSettings(store, u"C:\\Program Files\\Winamp\\winamp.exe");
  tunora::loadCoverSearchSettings(store);
  return 0;
}
