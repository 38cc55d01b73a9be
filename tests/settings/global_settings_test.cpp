#include "settings/global_settings.h"

#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace tunora {
namespace {

using testing::byteWrite;
using testing::RecordingStore;
using testing::textWrite;

TEST(GlobalSettings, FirstRunGivesTheDefaultsAndSavingWritesTheFourValuesInOrder) {
  RecordingStore store;
  const GlobalSettings loaded = loadGlobalSettings(store);
  EXPECT_EQ(loaded.hotkey, "WIN+C");
  EXPECT_TRUE(loaded.autoUpdateEnabled);
  EXPECT_TRUE(loaded.autoShowEnabled);
  EXPECT_TRUE(loaded.showMini);

  saveGlobalSettings(store, {"CTRL+F12", false, true, false});
  EXPECT_EQ(store.writes, (std::vector<RecordingStore::Write>{
                              textWrite("hotkey", "CTRL+F12"), byteWrite("autoUpdateEnabled", 0),
                              byteWrite("autoShowEnabled", 1), byteWrite("showMini", 0)}));
  const GlobalSettings again = loadGlobalSettings(store);
  EXPECT_EQ(again.hotkey, "CTRL+F12");
  EXPECT_FALSE(again.autoUpdateEnabled);
  EXPECT_TRUE(again.autoShowEnabled);
  EXPECT_FALSE(again.showMini);
}

TEST(GlobalSettings, AHotkeyOfMoreThanNineCharactersOrNoneIsWinC) {
  const auto hotkeyOf = [](auto&& put) {
    RecordingStore store;
    put(store);
    return loadGlobalSettings(store).hotkey;
  };
  EXPECT_EQ(hotkeyOf([](RecordingStore& s) { s.putText("hotkey", "SHIFT+F12"); }), "SHIFT+F12");
  EXPECT_EQ(hotkeyOf([](RecordingStore& s) { s.putText("hotkey", "CTRL+SHF+F"); }), "WIN+C");
  EXPECT_EQ(hotkeyOf([](RecordingStore& s) { s.putText("hotkey", "CTRL+ALT+F12"); }), "WIN+C");
  EXPECT_EQ(hotkeyOf([](RecordingStore& s) { s.putText("hotkey", ""); }), "WIN+C");
  EXPECT_EQ(hotkeyOf([](RecordingStore& s) { s.putText("other", "ALT+A"); }), "WIN+C");
  // Stored without terminator: nine bytes are a whole hotkey, ten leave no
  // room for the end of the text.
  EXPECT_EQ(hotkeyOf([](RecordingStore& s) {
              s.putBytes("hotkey", {'A', 'L', 'T', '+', 'Q'});
            }),
            "ALT+Q");
  EXPECT_EQ(
      hotkeyOf([](RecordingStore& s) { s.putBytes("hotkey", std::vector<std::uint8_t>(10, 'A')); }),
      "WIN+C");
}

TEST(GlobalSettings, AFlagIsReadAsItsOneByte) {
  RecordingStore store;
  // A text "" is one NUL byte: off. A four-byte number does not fit one
  // byte, and an empty value has none: both keep the default.
  store.putText("autoUpdateEnabled", "");
  store.putBytes("autoShowEnabled", {0, 0, 0, 0});
  store.putBytes("showMini", {});
  const GlobalSettings loaded = loadGlobalSettings(store);
  EXPECT_FALSE(loaded.autoUpdateEnabled);
  EXPECT_TRUE(loaded.autoShowEnabled);
  EXPECT_TRUE(loaded.showMini);
  store.putBytes("showMini", {2});
  EXPECT_TRUE(loadGlobalSettings(store).showMini);
}

}  // namespace
}  // namespace tunora
