#include "dispatch/page_dispatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "io/file.h"
#include "io/text_file.h"
#include "support/fake_player.h"
#include "support/temp_dir.h"
#include "text/ascii_case.h"
#include "text/conversions.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using testing::fixturePath;
using testing::toU16;

// Each template names itself and shows one row per track.
constexpr const char* kTrackRow =
    "<$trackbegin$>\n<$songname$>|<$artist$>|<$year$>|<$samplerate$>|<$bitrate$>|"
    "<$stereomode$>\n<$trackend$>";

TEST(MinibrowserPageFile, IsBesideThePlayerExecutable) {
  EXPECT_EQ(minibrowserPageFile(u"C:\\Program Files\\Winamp\\WINAMP.EXE"),
            u"c:\\program files\\winamp\\winampmb.htm");
  EXPECT_EQ(minibrowserPageFile(u"C:\\Players\\player.exe"), std::nullopt);
  EXPECT_EQ(minibrowserPageFile(u""), std::nullopt);
}

class PageDispatch : public ::testing::Test {
 protected:
  PageDispatch() {
    const std::pair<TemplateSlot, const char*> slots[] = {
        {TemplateSlot::SingleTrack, "SINGLE"},
        {TemplateSlot::MultipleTracks, "MULTIPLE"},
        {TemplateSlot::Directory, "DIRECTORY"},
        {TemplateSlot::Mini, "MINI"}};
    for (const auto& [slot, name] : slots) {
      TextLines lines;
      for (const char c : std::string(name) + "\n" + kTrackRow) lines.appendUnit(c);
      lines.setUnicode(true);
      const std::u16string path = dir.file(std::string(name) + ".html");
      EXPECT_EQ(saveTextFile(lines, path), 1);
      creator.chooseTemplate(slot, path);
    }
    fs::create_directories(dir.path() / "music");
  }

  DispatchContext context() {
    return {creator, settings, colours, player, toU16(dir.path() / "winamp.exe")};
  }
  std::u16string pageFile() const { return toLowerAscii(toU16(dir.path() / "winampmb.htm")); }

  // A copy of a tag fixture in the music folder.
  std::u16string music(const std::string& fixture, const std::string& name) {
    const fs::path target = dir.path() / "music" / name;
    fs::copy_file(fs::path(fixturePath("tags/" + fixture)), target);
    return toU16(target);
  }

  // The page file as UTF-8; it must carry the byte-order mark.
  std::string page(const std::u16string& path) const {
    const auto bytes = readWholeFile(path);
    if (!bytes) return "(no page)";
    EXPECT_TRUE(startsWithLittleEndianMark(*bytes));
    std::u16string text;
    EXPECT_TRUE(convertUTF16ToWChar(*bytes, text, Utf16Encoding::Utf16WithBom));
    return convertUTF16ToUTF8(text);
  }
  std::string page() const { return page(pageFile()); }

  void expectShown(const PageResult& result) const {
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.minibrowserUrl, u"file://" + pageFile());
  }

  testing::TempDir dir;
  testing::FakePlayer player;
  HtmlCreator creator{nullptr, player};
  PageSettings settings;
  PageColours colours;
};

TEST_F(PageDispatch, ThePageIsWrittenBesideWinampExeOnly) {
  const std::u16string song = music("cbr128_id3v23.mp3", "one.mp3");
  expectShown(showFiles(context(), {u"  " + song + u" "}, false));
  EXPECT_EQ(page(), "SINGLE\nId3lib Title|Id3lib Artist|1999|44100|128|2");

  ASSERT_TRUE(deleteFile(pathToNative(pageFile())));
  DispatchContext other = context();
  other.playerExecutable = toU16(dir.path() / "player.exe");
  const PageResult nothing = showFiles(other, {song}, false);
  EXPECT_FALSE(nothing.written);
  EXPECT_EQ(nothing.minibrowserUrl, std::nullopt);
  EXPECT_FALSE(fileExists(pathToNative(pageFile())));

  // A page that cannot be saved is not opened.
  other.playerExecutable = toU16(dir.path() / "missing" / "winamp.exe");
  EXPECT_FALSE(showFiles(other, {song}, false).written);
}

TEST_F(PageDispatch, TheCountAndTheModeChooseTheTemplate) {
  const std::u16string a = music("id3v1_1.mp3", "a.mp3");
  const std::u16string b = music("apev2_only.mp3", "b.mp3");
  expectShown(showFiles(context(), {a}, false));
  EXPECT_TRUE(page().starts_with("SINGLE\nV1 Title|"));
  expectShown(showSelected(context(), {a, b}));
  EXPECT_TRUE(page().starts_with("MULTIPLE\nV1 Title|"));
  EXPECT_NE(page().find("\nApe Title|"), std::string::npos);
  expectShown(showFiles(context(), {a}, true));
  EXPECT_TRUE(page().starts_with("DIRECTORY\nV1 Title|"));
  EXPECT_FALSE(createPage(context(), {}, std::nullopt, TemplateSlot::SingleTrack).written);
}

TEST_F(PageDispatch, AnOutputPathIsWrittenButNotOpened) {
  const std::u16string output = dir.file("mini.html");
  const PageResult result =
      createPage(context(), {music("id3v1_1.mp3", "a.mp3")}, output, TemplateSlot::Mini);
  EXPECT_TRUE(result.written);
  EXPECT_EQ(result.minibrowserUrl, std::nullopt);
  EXPECT_TRUE(page(output).starts_with("MINI\nV1 Title|"));
  EXPECT_FALSE(fileExists(pathToNative(pageFile())));
}

TEST_F(PageDispatch, ThePlayerDescribesThePlayingFileThatNoClassReads) {
  settings.switches.mp3 = false;
  player.playing = u"C:\\Music\\Song.mp3";
  player.sampleRateKHz = 44;
  player.bitrateKbps = 128;
  player.channels = 2;
  player.info = {{"Title", u"From Player"}, {"Artist", u"Band"}, {"Year", u"2004-05-01"}};

  // The song change shows the playing file, lower-cased.
  expectShown(showFiles(context(), {}, false));
  EXPECT_EQ(page(), "SINGLE\nFrom Player|Band|2004|44000|128|2");
  ASSERT_FALSE(player.asked.empty());
  EXPECT_EQ(player.asked.front().first, u"c:\\music\\song.mp3");

  // A selected entry is the playing file whatever its letter case.
  expectShown(showSelected(context(), {u"C:\\MUSIC\\SONG.MP3"}));
  EXPECT_EQ(page(), "SINGLE\nFrom Player|Band|2004|44000|128|2");

  // An upper-case extension is read by its class like a lower-case one.
  settings.switches.mp3 = true;
  expectShown(showSelected(context(), {music("id3v1_1.mp3", "UPPER.MP3")}));
  EXPECT_TRUE(page().starts_with("SINGLE\nV1 Title|")) << page();
  settings.switches.mp3 = false;

  // Any other file is unknown, and the player is not asked about it.
  player.asked.clear();
  expectShown(showSelected(context(), {u"C:\\Music\\Other.MP3"}));
  EXPECT_EQ(page(), "SINGLE\nUnknown|Unknown|Unknown|Unknown|Unknown|Unknown");
  EXPECT_TRUE(player.asked.empty());
}

TEST_F(PageDispatch, SeveralUnsupportedEntriesGiveTheNoSupportedFilesPage) {
  settings.switches.mp3 = false;
  player.playing = u"a.mp3";
  expectShown(showSelected(context(), {u"a.mp3", u"b.mp3"}));
  EXPECT_NE(page().find("[No supported files found]"), std::string::npos);
  EXPECT_TRUE(player.asked.empty());
}

TEST_F(PageDispatch, FileUrlsAreReadAsLocalFilesAndStreamsThroughThePlayer) {
  std::u16string url = music("id3v1_1.mp3", "a.mp3");
  for (auto& c : url)
    if (c == u'\\') c = u'/';
  expectShown(showSelected(context(), {u"file://" + url}));
  EXPECT_TRUE(page().starts_with("SINGLE\nV1 Title|"));

  const std::u16string stream = u"http://radio.example/live.mp3";
  player.playing = stream;
  player.info = {{"Title", u"Live Show"}};
  expectShown(showSelected(context(), {stream}));
  EXPECT_TRUE(page().starts_with("SINGLE\nLive Show|Unknown|"));
  // A stream that is not playing is unknown.
  player.playing = u"http://radio.example/other.mp3";
  expectShown(showSelected(context(), {stream}));
  EXPECT_TRUE(page().starts_with("SINGLE\nUnknown|"));
}

TEST_F(PageDispatch, ADirectoryPageShowsTheFilesOfTheFirstEntrysFolder) {
  const std::u16string first = music("id3v1_1.mp3", "1.mp3");
  music("apev2_only.mp3", "2.mp3");
  music("cbr128_id3v23.mp3", "3.mp3");
  fs::create_directories(dir.path() / "music" / "sub");
  fs::copy_file(fs::path(fixturePath("tags/id3v1_0.mp3")), dir.path() / "music" / "sub" / "4.mp3");

  expectShown(showDirectory(context(), {first, u"elsewhere.mp3"}));
  // The rows come in the order the system lists the folder.
  const std::string text = page();
  EXPECT_TRUE(text.starts_with("DIRECTORY\n"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
  for (const char* row : {"\nV1 Title|V1 Artist|2001|44100|128|2", "\nApe Title|Ape Artist|2003|",
                          "\nId3lib Title|Id3lib Artist|1999|"})
    EXPECT_NE(text.find(row), std::string::npos) << row;
}

TEST_F(PageDispatch, AnEmptyDirectoryShowsThePlayingFile) {
  fs::create_directories(dir.path() / "empty");
  player.playing = music("id3v1_1.mp3", "playing.mp3");
  expectShown(showDirectory(context(), {toU16(dir.path() / "empty" / "gone.mp3")}));
  EXPECT_TRUE(page().starts_with("SINGLE\nV1 Title|"));

  // Nothing collected: no page at all.
  ASSERT_TRUE(deleteFile(pathToNative(pageFile())));
  EXPECT_FALSE(showDirectory(context(), {}).written);
  EXPECT_FALSE(fileExists(pathToNative(pageFile())));
}

TEST_F(PageDispatch, ALargeDirectoryGivesOneRowPerFile) {
  constexpr int kFiles = 5000;
  for (int i = 0; i < kFiles; ++i) {
    const std::u16string name = toU16(dir.path() / "music" / ("t" + std::to_string(i) + ".mp3"));
    ASSERT_TRUE(writeWholeFile(name, {}));
  }
  expectShown(showDirectory(context(), {toU16(dir.path() / "music" / "t0.mp3")}));
  const std::string text = page();
  std::size_t rows = 0;
  for (auto at = text.find("\nUnknown|"); at != std::string::npos;
       at = text.find("\nUnknown|", at + 1))
    ++rows;
  EXPECT_EQ(rows, std::size_t{kFiles});
}

TEST_F(PageDispatch, TheStartPageTakesThePageColours) {
  colours.normalBackground = u"#123456";
  expectShown(showStartPage(context()));
  const std::string text = page();
  EXPECT_NE(text.find("Tunora-Plugin v0.6"), std::string::npos);
  EXPECT_NE(text.find("#123456"), std::string::npos);
  EXPECT_EQ(text.find("<$"), std::string::npos);
}

}  // namespace
}  // namespace tunora
