#include "coversearch/cover_search_settings.h"

namespace tunora {
namespace {

constexpr std::string_view kLastSourceValue = "CoverSource";

}  // namespace

CoverSearchSettings loadCoverSearchSettings(const SettingsStore& store) {
  CoverSearchSettings settings{loadStoreHosts(store), loadMusicBrainzService(store), {}};
  if (const auto reader = store.openForReading())
    settings.lastSource = reader->readText(kLastSourceValue, kStoreHostMaxLength + 1).value_or("");
  return settings;
}

void saveCoverSearchSettings(SettingsStore& store, const CoverSearchSettings& settings) {
  saveStoreHosts(store, settings.hosts);
  saveMusicBrainzService(store, settings.musicBrainz);
  if (const auto writer = store.createForWriting())
    writer->writeText(kLastSourceValue, settings.lastSource);
}

}  // namespace tunora
