#include "coversearch/cover_search_settings.h"

#include <algorithm>

namespace tunora {
namespace {

constexpr std::string_view kLastSourceValue = "CoverSource";
constexpr std::string_view kPageDeadlineValue = "CoverPageSeconds";
constexpr std::string_view kPictureDeadlineValue = "CoverPictureSeconds";

// Seconds as one byte; zero, a missing or a malformed value keeps the default.
void readSeconds(const SettingsReader& reader, std::string_view name, long& seconds) {
  if (const auto value = reader.readByte(name); value && *value > 0) seconds = *value;
}

std::uint8_t asByte(long seconds) {
  return static_cast<std::uint8_t>(std::clamp(seconds, 1L, 255L));
}

}  // namespace

CoverSearchSettings loadCoverSearchSettings(const SettingsStore& store) {
  CoverSearchSettings settings{loadStoreHosts(store), loadMusicBrainzService(store), {}, {}};
  if (const auto reader = store.openForReading()) {
    settings.lastSource = reader->readText(kLastSourceValue, kStoreHostMaxLength + 1).value_or("");
    readSeconds(*reader, kPageDeadlineValue, settings.timeouts.pageDeadlineSeconds);
    readSeconds(*reader, kPictureDeadlineValue, settings.timeouts.pictureDeadlineSeconds);
  }
  return settings;
}

void saveCoverSearchSettings(SettingsStore& store, const CoverSearchSettings& settings) {
  saveStoreHosts(store, settings.hosts);
  saveMusicBrainzService(store, settings.musicBrainz);
  if (const auto writer = store.createForWriting()) {
    writer->writeText(kLastSourceValue, settings.lastSource);
    writer->writeByte(kPageDeadlineValue, asByte(settings.timeouts.pageDeadlineSeconds));
    writer->writeByte(kPictureDeadlineValue, asByte(settings.timeouts.pictureDeadlineSeconds));
  }
}

}  // namespace tunora
