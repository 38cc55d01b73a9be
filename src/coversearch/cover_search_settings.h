#pragma once
// What the Cover-Search dialog keeps between runs: the store-front hosts,
// the MusicBrainz services, the deadlines of a page and of a picture, and the
// source last searched, so that a user who picks one keeps it.

#include <string>

#include "coversearch/http_client.h"
#include "coversearch/musicbrainz.h"
#include "coversearch/store_fronts.h"
#include "settings/settings_store.h"

namespace tunora {

struct CoverSearchSettings {
  StoreHosts hosts;
  MusicBrainzService musicBrainz;
  // Only the two deadlines are settings (1 to 255 seconds each).
  HttpTimeouts timeouts;
  // A text of the store list; empty before the first search.
  std::string lastSource;
};

CoverSearchSettings loadCoverSearchSettings(const SettingsStore& store);
void saveCoverSearchSettings(SettingsStore& store, const CoverSearchSettings& settings);

}  // namespace tunora
