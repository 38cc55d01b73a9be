#include "host/player_host_link.h"

#include <gtest/gtest.h>

#include "standin_host.h"
#include "text/ascii_case.h"

namespace tunora::standin {
namespace {

TEST(PlayerHostLink, CoverFolderIsBesideThePlayersExecutable) {
  StandinHost player;
  const auto folder = host::PlayerHostLink(player.mainWindow()).coverFolder();
  ASSERT_TRUE(folder.has_value());
  const std::wstring program = programFolder();
  const std::u16string expected =
      toLowerAscii(std::u16string(program.begin(), program.end())) + u"plugins\\ml_tunora\\";
  EXPECT_EQ(*folder, expected);
}

TEST(PlayerHostLink, AnswersWhatThePlayerKnows) {
  StandinHost player;
  Scenario& scenario = player.scenario();
  scenario.playlist = {"C:\\Music\\one.mp3", "C:\\Music\\Two.WMA"};
  scenario.playingPosition = 1;
  scenario.streamProperties = {48, 320, 1};
  scenario.fileInfo[{"C:\\Music\\Two.WMA", "Year"}] = "2004-05-01";
  scenario.skinFolder = "C:\\Skins\\Modern";
  const host::PlayerHostLink link(player.mainWindow());

  EXPECT_TRUE(link.playerPresent());
  // The name keeps the player's letter case.
  EXPECT_EQ(link.playingFile(), u"C:\\Music\\Two.WMA");
  EXPECT_EQ(link.streamProperty(StreamProperty::SampleRateKHz), 48u);
  EXPECT_EQ(link.streamProperty(StreamProperty::BitrateKbps), 320u);
  EXPECT_EQ(link.streamProperty(StreamProperty::Channels), 1u);
  EXPECT_EQ(link.fileInfo(u"C:\\Music\\Two.WMA", "Year"), u"2004-05-01");
  EXPECT_EQ(link.fileInfo(u"C:\\Music\\Two.WMA", "Genre"), std::nullopt);
  EXPECT_EQ(link.skinFolder(), u"C:\\Skins\\Modern");
  scenario.skinFolder.clear();
  EXPECT_EQ(link.skinFolder(), u"");
}

TEST(PlayerHostLink, PlayerThatAnswersNothingGivesNothing) {
  StandinHost player;
  player.scenario().playlist = {"a.mp3"};
  player.scenario().skinBitmap = SkinBitmap{112, 1, std::vector<COLORREF>(112, 0x123456)};
  player.scenario().answersNothing = true;
  const host::PlayerHostLink link(player.mainWindow());
  EXPECT_TRUE(link.playerPresent());
  EXPECT_EQ(link.playingFile(), std::nullopt);
  EXPECT_EQ(link.streamProperty(StreamProperty::SampleRateKHz), 0u);
  EXPECT_EQ(link.skinFolder(), u"");
  EXPECT_EQ(link.genericSkinPixels(), std::nullopt);
}

TEST(PlayerHostLink, WithoutAPlayerNothingIsAsked) {
  const host::PlayerHostLink link(nullptr);
  EXPECT_FALSE(link.playerPresent());
  EXPECT_EQ(link.playingFile(), std::nullopt);
  EXPECT_EQ(link.skinFolder(), std::nullopt);
  EXPECT_EQ(link.genericSkinPixels(), std::nullopt);
  EXPECT_EQ(link.fileInfo(u"a.mp3", "Title"), std::nullopt);
}

TEST(PlayerHostLink, GenericSkinPixelsAreTheColourRowAndTheBitmapIsDeleted) {
  StandinHost player;
  SkinBitmap bitmap{112, 2, std::vector<COLORREF>(224, 0x0000FF)};
  for (int i = 0; i < 22; ++i) bitmap.pixels[48 + 2 * i] = static_cast<COLORREF>(0x010203 * i);
  bitmap.pixels[111] = 0xFF00FF;
  bitmap.pixels[112 + 48] = 0xABCDEF;  // the second row is not the table
  player.scenario().skinBitmap = bitmap;

  const auto pixels = host::PlayerHostLink(player.mainWindow()).genericSkinPixels();
  ASSERT_TRUE(pixels.has_value());
  EXPECT_EQ(pixels->marker, 0xFF00FFu);
  for (std::uint32_t i = 0; i < 22; ++i) EXPECT_EQ(pixels->entries[i], 0x010203 * i) << i;
  // The plug-in owns the bitmap it was given and deleted it.
  ASSERT_NE(player.lastSkinBitmap(), nullptr);
  EXPECT_EQ(GetObjectType(player.lastSkinBitmap()), 0u);
}

TEST(PlayerHostLink, PixelsOutsideASmallBitmapAreUnread) {
  StandinHost player;
  player.scenario().skinBitmap = SkinBitmap{1, 1, {0x00FF00}};
  const auto pixels = host::PlayerHostLink(player.mainWindow()).genericSkinPixels();
  ASSERT_TRUE(pixels.has_value());
  EXPECT_EQ(pixels->marker, kUnreadPixel);
  for (const auto entry : pixels->entries) EXPECT_EQ(entry, kUnreadPixel);

  player.scenario().skinBitmap = SkinBitmap{51, 1, std::vector<COLORREF>(51, 0x00FF00)};
  const auto narrow = host::PlayerHostLink(player.mainWindow()).genericSkinPixels();
  ASSERT_TRUE(narrow.has_value());
  EXPECT_EQ(narrow->entries[1], 0x00FF00u);  // x = 50
  EXPECT_EQ(narrow->entries[2], kUnreadPixel);
}

}  // namespace
}  // namespace tunora::standin
