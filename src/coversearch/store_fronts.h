#pragma once
// The two store fronts the cover search knows, by the host-name text the user
// picks. The host names are settings so that another store (or a test server,
// "127.0.0.1:8080") can stand in.

#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace tunora {

enum class StoreVariant { None, Us, German };

inline constexpr std::string_view kDefaultUsStoreHost = "store.example.com";
inline constexpr std::string_view kDefaultGermanStoreHost = "store.example.de";
inline constexpr std::size_t kStoreHostMaxLength = 255;

struct StoreHosts {
  std::string us{kDefaultUsStoreHost};
  std::string german{kDefaultGermanStoreHost};

  // Letter case ignored; the German host is compared first.
  StoreVariant variantOf(std::string_view hostText) const;
};

// The defaults wherever the store has no readable, non-empty value.
StoreHosts loadStoreHosts(const SettingsStore& store);
void saveStoreHosts(SettingsStore& store, const StoreHosts& hosts);

// The search form of a variant: path, and the fixed text around the keywords.
struct SearchForm {
  std::string_view path;
  std::string_view bodyPrefix;
  std::string_view bodySuffix;
};
SearchForm searchFormOf(StoreVariant variant);

}  // namespace tunora
