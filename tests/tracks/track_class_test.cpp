#include "tracks/track_class.h"

#include <gtest/gtest.h>

#include "io/file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

TEST(TrackClassChoice, ExtensionDecidesInAnyLetterCase) {
  const FileTypeSwitches all;
  EXPECT_EQ(chooseTrackClass(u"a.mp3", false, all), TrackClass::MP3);
  EXPECT_EQ(chooseTrackClass(u"a.m4a", false, all), TrackClass::MP4);
  EXPECT_EQ(chooseTrackClass(u"a.mp4", false, all), TrackClass::MP4);
  EXPECT_EQ(chooseTrackClass(u"a.aac", false, all), TrackClass::AAC);
  EXPECT_EQ(chooseTrackClass(u"a.ogg", false, all), TrackClass::OGG);
  EXPECT_EQ(chooseTrackClass(u"a.flac", false, all), TrackClass::FLAC);
  EXPECT_EQ(chooseTrackClass(u"a.mpc", false, all), TrackClass::MPC);
  EXPECT_EQ(chooseTrackClass(u"song.MP3", false, all), TrackClass::MP3);
  EXPECT_EQ(chooseTrackClass(u"song.Flac", false, all), TrackClass::FLAC);
  EXPECT_EQ(chooseTrackClass(u"song.M4A", false, all), TrackClass::MP4);
  EXPECT_EQ(chooseTrackClass(u"a.opus", false, all), TrackClass::Opus);
  EXPECT_EQ(chooseTrackClass(u"song.WAV", false, all), TrackClass::WAV);
  for (const auto* name : {u"a.aif", u"a.aiff", u"a.AIFC"})
    EXPECT_EQ(chooseTrackClass(name, false, all), TrackClass::AIFF);
  EXPECT_EQ(chooseTrackClass(u"song.mod", false, all), std::nullopt);
  EXPECT_EQ(chooseTrackClass(u"song.aiffx", false, all), std::nullopt);
  EXPECT_EQ(chooseTrackClass(u"mp3", false, all), std::nullopt);
}

TEST(TrackClassChoice, DisabledTypesAndStreamsAreNotRead) {
  FileTypeSwitches switches;
  switches.mp3 = false;
  switches.mp4 = false;
  EXPECT_EQ(chooseTrackClass(u"a.mp3", false, switches), std::nullopt);
  EXPECT_EQ(chooseTrackClass(u"a.m4a", false, switches), std::nullopt);
  EXPECT_EQ(chooseTrackClass(u"a.ogg", false, switches), TrackClass::OGG);
  // One switch for the three AIFF names.
  switches.aiff = false;
  switches.opus = false;
  for (const auto* name : {u"a.aif", u"a.aiff", u"a.aifc", u"a.opus"})
    EXPECT_EQ(chooseTrackClass(name, false, switches), std::nullopt);
  EXPECT_EQ(chooseTrackClass(u"a.wav", false, switches), TrackClass::WAV);
  switches.wav = false;
  EXPECT_EQ(chooseTrackClass(u"a.wav", false, switches), std::nullopt);
  EXPECT_EQ(chooseTrackClass(u"http://radio/live.mp3", true, FileTypeSwitches{}), std::nullopt);
}

TEST(TrackClassChoice, EveryClassIsMade) {
  for (const auto type :
       {TrackClass::MP3, TrackClass::MP4, TrackClass::AAC, TrackClass::OGG, TrackClass::FLAC,
        TrackClass::MPC, TrackClass::Opus, TrackClass::WAV, TrackClass::AIFF}) {
    auto track = createTrackInfo(type);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->getTitle(), u"Unknown");
  }
}

TEST(EntryNames, FileUrlsBecomeLocalPathsAndOtherUrlsStreams) {
  const auto local = resolveEntryName(u"file://C:/Music/a.mp3");
  EXPECT_FALSE(local.isStream);
  const char16_t sep = static_cast<char16_t>(kPathSeparator);
  EXPECT_EQ(local.name, std::u16string(u"C:") + sep + u"Music" + sep + u"a.mp3");
  EXPECT_FALSE(resolveEntryName(u"FILE://x.mp3").isStream);

  const auto stream = resolveEntryName(u"http://radio.example/live.mp3");
  EXPECT_TRUE(stream.isStream);
  EXPECT_EQ(stream.name, u"http://radio.example/live.mp3");

  const auto plain = resolveEntryName(u"C:\\Music\\b.mp3");
  EXPECT_FALSE(plain.isStream);
  EXPECT_EQ(plain.name, u"C:\\Music\\b.mp3");
}

TEST(EntryNames, ExistingFileWithSchemeInNameIsKept) {
  testing::TempDir dir;
  const auto folder = dir.path() / "x:";
  std::error_code error;
  if (!std::filesystem::create_directory(folder, error)) GTEST_SKIP() << "no ':' in names here";
  const auto path = testing::toU16(folder) + u"//a.mp3";
  ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>{0}));
  const auto entry = resolveEntryName(path);
  EXPECT_FALSE(entry.isStream);
  EXPECT_EQ(entry.name, path);
}

}  // namespace
}  // namespace tunora
