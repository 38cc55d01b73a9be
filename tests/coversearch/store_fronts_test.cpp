#include "coversearch/store_fronts.h"

#include <gtest/gtest.h>

#include "coversearch/cover_search_settings.h"
#include "coversearch/http_client.h"
#include "settings/memory_settings_store.h"

namespace tunora {
namespace {

TEST(StoreFronts, HostsAreSettingsWithDefaults) {
  MemorySettingsStore store;
  EXPECT_EQ(loadStoreHosts(store).us, kDefaultUsStoreHost);
  saveStoreHosts(store, {"127.0.0.1:8080", "Shop.Example.DE"});
  const StoreHosts hosts = loadStoreHosts(store);
  EXPECT_EQ(hosts.us, "127.0.0.1:8080");
  EXPECT_EQ(hosts.variantOf("shop.example.de"), StoreVariant::German);
  EXPECT_EQ(hosts.variantOf("127.0.0.1:8080"), StoreVariant::Us);
  EXPECT_EQ(hosts.variantOf("127.0.0.1"), StoreVariant::None);
  // The German host wins when both are the same text.
  EXPECT_EQ((StoreHosts{"same", "SAME"}.variantOf("Same")), StoreVariant::German);
  // An empty or too long value falls back to the default.
  saveStoreHosts(store, {"", std::string(kStoreHostMaxLength + 1, 'h')});
  EXPECT_EQ(loadStoreHosts(store).us, kDefaultUsStoreHost);
  EXPECT_EQ(loadStoreHosts(store).german, kDefaultGermanStoreHost);
}

TEST(StoreFronts, HostTextMayCarryAPort) {
  EXPECT_EQ(splitHostPort("store.test")->port, 80);
  const auto local = splitHostPort("127.0.0.1:65535");
  ASSERT_TRUE(local);
  EXPECT_EQ(local->name, "127.0.0.1");
  EXPECT_EQ(local->port, 65535);
  EXPECT_EQ(splitHostPort("h:1")->port, 1);
  for (const char* bad : {"h:", "h:0", "h:65536", "h:8o", "h:-1"})
    EXPECT_FALSE(splitHostPort(bad)) << bad;
}

TEST(StoreFronts, DeadlinesAreSettingsOfOneToTwoHundredFiftyFiveSeconds) {
  MemorySettingsStore store;
  const HttpTimeouts defaults = loadCoverSearchSettings(store).timeouts;
  EXPECT_EQ(defaults.pageDeadlineSeconds, 30);
  EXPECT_EQ(defaults.pictureDeadlineSeconds, 60);
  const struct {
    long saved;
    long loaded;
  } cases[] = {{1, 1}, {255, 255}, {256, 255}, {0, 1}, {-5, 1}};
  for (const auto& c : cases) {
    CoverSearchSettings settings;
    settings.timeouts.pageDeadlineSeconds = c.saved;
    settings.timeouts.pictureDeadlineSeconds = c.saved;
    saveCoverSearchSettings(store, settings);
    const HttpTimeouts loaded = loadCoverSearchSettings(store).timeouts;
    EXPECT_EQ(loaded.pageDeadlineSeconds, c.loaded) << c.saved;
    EXPECT_EQ(loaded.pictureDeadlineSeconds, c.loaded) << c.saved;
  }
  // A zero or a value of the wrong size keeps the default.
  store.put("CoverPageSeconds", SettingsValueKind::Binary, {0});
  store.put("CoverPictureSeconds", SettingsValueKind::Binary, {5, 0});
  EXPECT_EQ(loadCoverSearchSettings(store).timeouts.pageDeadlineSeconds, 30);
  EXPECT_EQ(loadCoverSearchSettings(store).timeouts.pictureDeadlineSeconds, 60);
}

}  // namespace
}  // namespace tunora
