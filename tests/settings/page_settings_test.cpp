#include "settings/page_settings.h"

#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace tunora {
namespace {

using testing::byteWrite;
using testing::RecordingStore;
using testing::textWrite;

constexpr std::u16string_view kPlayer = u"C:\\Program Files\\Winamp\\WinAmp.EXE";

TEST(PageSettings, FirstRunGivesTheDefaultsBesideThePlayer) {
  const RecordingStore store;
  const PageSettings loaded = loadPageSettings(store, kPlayer);
  EXPECT_EQ(loaded.templatePath(TemplateSlot::SingleTrack),
            u"C:\\Program Files\\Winamp\\plugins\\ml_tunora\\Default (Single Track).html");
  EXPECT_EQ(loaded.templatePath(TemplateSlot::MultipleTracks),
            u"C:\\Program Files\\Winamp\\plugins\\ml_tunora\\Default (Multiple Tracks).html");
  EXPECT_EQ(loaded.templatePath(TemplateSlot::Directory),
            u"C:\\Program Files\\Winamp\\plugins\\ml_tunora\\Default (Directory).html");
  EXPECT_EQ(loaded.templatePath(TemplateSlot::Mini),
            u"C:\\Program Files\\Winamp\\plugins\\ml_tunora\\Default (Mini).html");
  EXPECT_EQ(loaded.coverName, u"folder.jpg");
  for (const auto type :
       {TrackClass::MP3, TrackClass::MP4, TrackClass::AAC, TrackClass::OGG, TrackClass::FLAC,
        TrackClass::MPC, TrackClass::WavPack, TrackClass::MonkeysAudio, TrackClass::ASF})
    EXPECT_TRUE(loaded.switches.enabled(type));
  EXPECT_TRUE(loaded.setFocus);
}

TEST(PageSettings, DefaultTemplatesOnlyBesideThePlayersOwnProgram) {
  EXPECT_EQ(defaultTemplatePath(u"C:\\Tools\\player.exe", TemplateSlot::Mini), u"");
  EXPECT_EQ(defaultTemplatePath(u"C:\\winamp.exe\\other.exe", TemplateSlot::Mini), u"");
  EXPECT_EQ(defaultTemplatePath(u"", TemplateSlot::Mini), u"");
  // A bare name has no folder to put first.
  EXPECT_EQ(defaultTemplatePath(u"winamp.exe", TemplateSlot::Directory),
            u"plugins\\ml_tunora\\Default (Directory).html");
  const PageSettings loaded = loadPageSettings(RecordingStore{}, u"/usr/bin/tunora");
  for (const auto& path : loaded.templatePaths) EXPECT_EQ(path, u"");
}

TEST(PageSettings, SavedValuesComeBackAndAreWrittenInOrder) {
  RecordingStore store;
  PageSettings settings;
  settings.templatePath(TemplateSlot::SingleTrack) = u"C:\\t\\one.html";
  settings.templatePath(TemplateSlot::MultipleTracks) = u"[Select Template]";
  settings.templatePath(TemplateSlot::Directory) = u"C:\\t\\dir.html";
  settings.templatePath(TemplateSlot::Mini) = u"C:\\t\\mini.html";
  settings.coverName = u"%a - %b.jpg";
  settings.switches.ogg = false;
  settings.switches.aac = false;
  settings.setFocus = false;
  savePageSettings(store, settings);
  EXPECT_EQ(store.writes,
            (std::vector<RecordingStore::Write>{
                textWrite("TemplateTrack", "C:\\t\\one.html"),
                textWrite("TemplateMultiple", "[Select Template]"),
                textWrite("TemplateDirectory", "C:\\t\\dir.html"),
                textWrite("TemplateMini", "C:\\t\\mini.html"),
                textWrite("Covername", "%a - %b.jpg"), byteWrite("mp3Enabled", 1),
                byteWrite("mp4Enabled", 1), byteWrite("oggEnabled", 0), byteWrite("flacEnabled", 1),
                byteWrite("mpcEnabled", 1), byteWrite("aacEnabled", 0), byteWrite("setFocus", 0)}));

  const PageSettings loaded = loadPageSettings(store, kPlayer);
  EXPECT_EQ(loaded.templatePaths, settings.templatePaths);
  EXPECT_EQ(loaded.coverName, settings.coverName);
  EXPECT_FALSE(loaded.switches.ogg);
  EXPECT_FALSE(loaded.switches.aac);
  EXPECT_TRUE(loaded.switches.mp3);
  EXPECT_TRUE(loaded.switches.flac);
  EXPECT_FALSE(loaded.setFocus);
}

TEST(PageSettings, AKeyWithoutValuesTurnsOnlySetFocusOff) {
  RecordingStore store;
  store.putText("hotkey", "WIN+C");
  const PageSettings loaded = loadPageSettings(store, kPlayer);
  EXPECT_FALSE(loaded.setFocus);
  EXPECT_TRUE(loaded.switches.mp3);
  EXPECT_EQ(loaded.coverName, u"folder.jpg");
  EXPECT_EQ(loaded.templatePath(TemplateSlot::Mini),
            defaultTemplatePath(kPlayer, TemplateSlot::Mini));
}

TEST(PageSettings, EmptyOrTooLongTextsFallBackToTheirDefaults) {
  RecordingStore store;
  const std::string longest(258, 'p');
  store.putText("TemplateTrack", longest);
  store.putText("TemplateMultiple", std::string(259, 'p'));
  store.putBytes("TemplateDirectory", std::vector<std::uint8_t>(259, 'p'));
  store.putText("TemplateMini", "");
  store.putText("Covername", std::string(259, 'c'));
  PageSettings loaded = loadPageSettings(store, kPlayer);
  EXPECT_EQ(loaded.templatePath(TemplateSlot::SingleTrack), std::u16string(258, u'p'));
  for (const auto slot :
       {TemplateSlot::MultipleTracks, TemplateSlot::Directory, TemplateSlot::Mini})
    EXPECT_EQ(loaded.templatePath(slot), defaultTemplatePath(kPlayer, slot));
  EXPECT_EQ(loaded.coverName, u"folder.jpg");

  store.putText("Covername", "");
  EXPECT_EQ(loadPageSettings(store, kPlayer).coverName, u"folder.jpg");
  // Bytes up to the first NUL: a value of another kind is taken as far as it goes.
  store.putBytes("Covername", {'a', '.', 'j', 'p', 'g', 0, 'x'});
  EXPECT_EQ(loadPageSettings(store, kPlayer).coverName, u"a.jpg");
}

}  // namespace
}  // namespace tunora
