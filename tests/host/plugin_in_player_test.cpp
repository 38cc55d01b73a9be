// The real plug-in in the stand-in player, driven as the player drives it:
// init and quit through the record, song changes through the main window's
// title and timers, the playlist menu through the playlist window. Each test
// reads what the player was told and the page file it was given.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/registry_settings_store.h"
#include "io/file.h"
#include "settings/global_settings.h"
#include "settings/page_settings.h"
#include "standin_host.h"
#include "support/temp_dir.h"
#include "text/ascii_case.h"
#include "text/conversions.h"

namespace tunora::standin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr char kSettingsKey[] = "Software\\Winamp\\ml_tunora";

// Each template names itself, shows the page colours and one row per track.
constexpr char kTemplateBody[] =
    " <$clnormal$> <$clnormalbg$> <$clcurrent$> <$clselectedbg$>\n"
    "<$trackbegin$>\n<$songname$>|<$artist$>|<$bitrate$>\n<$trackend$>";

std::string toLower(std::string text) {
  for (char& c : text) c = lowerAscii(c);
  return text;
}

std::string ansiPath(const fs::path& path) {
  return convertUTF16ToUTF8(path.u16string());
}

void writeUtf16Template(const fs::path& path, const std::string& name) {
  std::u16string text;
  convertUTF8ToUTF16(name + kTemplateBody, text);
  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  ASSERT_TRUE(writeWholeFile(path.u16string(), bytes));
}

class PluginInPlayer : public ::testing::Test {
 protected:
  PluginInPlayer() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    fs::create_directories(music() / "sub");
    for (const char* name : {"SINGLE", "MULTIPLE", "DIRECTORY", "MINI"})
      writeUtf16Template(dir_.path() / (std::string(name) + ".html"), name);
  }
  ~PluginInPlayer() override {
    player_.quit();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    std::error_code ignored;
    fs::remove(pageFile(), ignored);
  }

  fs::path music() const { return dir_.path() / "music"; }
  fs::path pageFile() const { return fs::path(programFolder()) / "winampmb.htm"; }

  // A copy of a tag fixture in the music folder, named as the player names it.
  std::string song(const std::string& fixture, const std::string& name) {
    const fs::path target = music() / name;
    fs::copy_file(fs::path(testing::fixturePath("tags/" + fixture)), target,
                  fs::copy_options::overwrite_existing);
    return ansiPath(target);
  }

  // Settings as a user left them: our templates, and whatever `change` sets.
  template <typename Change>
  void storeSettings(Change change) {
    PageSettings page;
    page.templatePath(TemplateSlot::SingleTrack) = (dir_.path() / "SINGLE.html").u16string();
    page.templatePath(TemplateSlot::MultipleTracks) = (dir_.path() / "MULTIPLE.html").u16string();
    page.templatePath(TemplateSlot::Directory) = (dir_.path() / "DIRECTORY.html").u16string();
    page.templatePath(TemplateSlot::Mini) = (dir_.path() / "MINI.html").u16string();
    GlobalSettings global;
    change(page, global);
    host::RegistrySettingsStore store;
    savePageSettings(store, page);
    saveGlobalSettings(store, global);
  }
  void storeSettings() {
    storeSettings([](PageSettings&, GlobalSettings&) {});
  }

  void start() {
    ASSERT_TRUE(player_.load());
    ASSERT_EQ(player_.init(), 0);
  }

  // A song change as the player makes it: a new title, then its timer.
  void playSong(int position, const std::string& title) {
    player_.scenario().playingPosition = position;
    player_.setTitle(title);
    player_.fireTimer(42);
  }

  // The page the minibrowser was given last, as UTF-8 text.
  std::string page() const {
    const auto bytes = readWholeFile(pageFile().u16string());
    if (!bytes || bytes->size() < 2) return "(no page)";
    std::u16string text;
    convertUTF16ToWChar(*bytes, text);
    return convertUTF16ToUTF8(text);
  }
  std::size_t urls() const { return player_.received().openedUrls.size(); }
  int commands(WORD id) const {
    const auto& all = player_.received().commands;
    return static_cast<int>(std::count(all.begin(), all.end(), id));
  }

  TempDir dir_;
  StandinHost player_;
};

TEST_F(PluginInPlayer, StartPageAtInitThenEverySongChangeShowsTheNewSong) {
  storeSettings();
  player_.scenario().playlist = {song("cbr128_id3v23.mp3", "one.mp3"),
                                 song("id3v1_1.mp3", "two.mp3")};
  start();
  ASSERT_EQ(urls(), 1u);
  // The player's folder as its executable's name gives it, lower-cased.
  EXPECT_EQ(player_.received().openedUrls[0], "file://" + toLower(ansiPath(pageFile())));
  EXPECT_NE(page().find("Tunora-Plugin v0.6"), std::string::npos);

  playSong(0, "1. Id3lib Title - Winamp");
  ASSERT_EQ(urls(), 2u);
  EXPECT_TRUE(page().starts_with("SINGLE")) << page();
  EXPECT_NE(page().find("Id3lib Title|Id3lib Artist|128"), std::string::npos);
  EXPECT_EQ(player_.received().keepPageRequests, 1);

  // Two titles before the timer make one page, of the song then playing.
  player_.scenario().playingPosition = 1;
  player_.setTitle("2. V1 Title - Winamp");
  player_.setTitle("2. V1 Title - Winamp *");
  player_.fireTimer(42);
  player_.fireTimer(42);
  EXPECT_EQ(urls(), 3u);
  EXPECT_NE(page().find("V1 Title|V1 Artist"), std::string::npos);

  // After the player's reset, timer 38 before 42 drops the change.
  player_.resetSongChange();
  player_.setTitle("1. Id3lib Title - Winamp");
  player_.fireTimer(38);
  player_.fireTimer(42);
  EXPECT_EQ(urls(), 3u);
}

TEST_F(PluginInPlayer, TheMinibrowserComesUpOnlyWhenAskedAndTheLibraryIsVisible) {
  storeSettings();
  player_.scenario().playlist = {song("id3v1_1.mp3", "a.mp3")};
  start();
  player_.showLibrary(false);
  playSong(0, "hidden");
  EXPECT_EQ(commands(40364), 0);
  player_.showLibrary(true);
  playSong(0, "visible");
  EXPECT_EQ(commands(40364), 1);
  player_.quit();

  storeSettings([](PageSettings&, GlobalSettings& global) { global.autoShowEnabled = false; });
  start();
  playSong(0, "visible, not asked");
  EXPECT_EQ(commands(40364), 1);

  // Without updates the page stays, and the minibrowser is still kept.
  player_.quit();
  storeSettings([](PageSettings&, GlobalSettings& global) { global.autoUpdateEnabled = false; });
  start();
  const std::size_t before = urls();
  playSong(0, "no update");
  EXPECT_EQ(urls(), before);
  EXPECT_EQ(player_.received().keepPageRequests, 4);
}

TEST_F(PluginInPlayer, PagesTakeTheColoursOfClassicAndModernSkins) {
  storeSettings();
  player_.scenario().playlist = {song("id3v1_1.mp3", "a.mp3")};
  const fs::path classic = dir_.path() / "classic";
  fs::create_directories(classic);
  std::ofstream(classic / "pledit.txt") << "[Text]\r\nNormal=#C0C0C0\r\nCurrent=#FFFF00\r\n"
                                           "NormalBG=#202020\r\nSelectedBG=#\"><b>\r\n";
  player_.scenario().skinFolder = ansiPath(classic);
  start();
  playSong(0, "classic");
  EXPECT_TRUE(page().starts_with("SINGLE #C0C0C0 #202020 #FFFF00 #0000FF")) << page();

  const fs::path modern = dir_.path() / "modern";
  fs::create_directories(modern);
  std::ofstream(modern / "skin.xml") << "<skin/>";
  player_.scenario().skinFolder = ansiPath(modern);
  SkinBitmap bitmap{112, 1, std::vector<COLORREF>(112, RGB(1, 2, 3))};
  bitmap.pixels[111] = RGB(1, 2, 3);  // the marker: every entry takes its fallback
  bitmap.pixels[48 + 2 * 1] = RGB(0xAB, 0xCD, 0xEF);
  player_.scenario().skinBitmap = bitmap;
  playSong(0, "modern");
  EXPECT_TRUE(page().starts_with("SINGLE #abcdef #000000 #ffffff #0000c6")) << page();
}

// The page of the built-in single-track template in a classic skin's colours.
// With TUNORA_RECEIVED_PAGE set, the page is kept there for the browser test
// (tests/e2e/received_page.sh).
TEST_F(PluginInPlayer, TheBuiltInTemplateInAClassicSkin) {
  player_.scenario().playlist = {song("id3v1_1.mp3", "Morning Tone.mp3")};
  const fs::path skin = dir_.path() / "skin";
  fs::create_directories(skin);
  std::ofstream(skin / "pledit.txt") << "[Text]\r\nNormal=#C0C0C0\r\nCurrent=#FFFF00\r\n"
                                        "NormalBG=#202020\r\nSelectedBG=#3A4F6E\r\n";
  player_.scenario().skinFolder = ansiPath(skin);
  start();
  playSong(0, "1. V1 Artist - V1 Title - Winamp");
  const std::string text = page();
  EXPECT_NE(text.find("V1 Title"), std::string::npos);
  EXPECT_NE(text.find("background-color: #202020"), std::string::npos);
  EXPECT_EQ(text.find("<$"), std::string::npos);
  if (const char* keep = std::getenv("TUNORA_RECEIVED_PAGE"))
    fs::copy_file(pageFile(), fs::path(keep), fs::copy_options::overwrite_existing);
}

TEST_F(PluginInPlayer, PlaylistMenuShowsTheSelectionOrItsFolder) {
  storeSettings();
  player_.scenario().playlist = {song("id3v1_1.mp3", "a.mp3"), song("cbr128_id3v23.mp3", "b.mp3"),
                                 song("id3v1_0.mp3", "c.mp3")};
  start();
  const HWND playlist = player_.playlistWindow();
  player_.scenario().selection = {1};
  SendMessageA(playlist, WM_COMMAND, 6666, 0);
  EXPECT_TRUE(page().starts_with("SINGLE")) << page();
  EXPECT_NE(page().find("Id3lib Title"), std::string::npos);

  player_.scenario().selection = {0, 1};
  SendMessageA(playlist, WM_COMMAND, 6666, 0);
  EXPECT_TRUE(page().starts_with("MULTIPLE")) << page();

  // The folder of the first selected entry: its three files, not the subfolder.
  player_.scenario().selection = {2};
  SendMessageA(playlist, WM_COMMAND, 6667, 0);
  const std::string text = page();
  EXPECT_TRUE(text.starts_with("DIRECTORY")) << text;
  EXPECT_NE(text.find("V1 Title|"), std::string::npos);
  EXPECT_NE(text.find("Id3lib Title|"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '|'), 6) << text;
  EXPECT_EQ(commands(40364), 3);
}

TEST_F(PluginInPlayer, TheFirstPlaylistPopupGetsOurItemsOnceAfterASeparator) {
  start();
  // The player's popup menus, each with an item of its own.
  const auto popup = [&] {
    const HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 100, "Play");
    SendMessageA(player_.playlistWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    return menu;
  };
  const HMENU first = popup();
  ASSERT_EQ(GetMenuItemCount(first), 5);
  MENUITEMINFOA separator{};
  separator.cbSize = sizeof(separator);
  separator.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(first, 1, TRUE, &separator);
  EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
  const std::pair<UINT, const char*> items[] = {{6666, "Show Details in Minibrowser"},
                                                {6667, "Show Details (Directory)"},
                                                {6668, "Cover-Search"}};
  for (int i = 0; i < 3; ++i) {
    char text[64] = {};
    GetMenuStringA(first, static_cast<UINT>(i + 2), text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ(GetMenuItemID(first, i + 2), items[i].first);
    EXPECT_STREQ(text, items[i].second);
    EXPECT_EQ(GetMenuState(first, static_cast<UINT>(i + 2), MF_BYPOSITION) & MF_DISABLED, 0u);
  }
  // The same menu opened again, and any later popup, stay as they are.
  SendMessageA(player_.playlistWindow(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(first), 0);
  EXPECT_EQ(GetMenuItemCount(first), 5);
  const HMENU second = popup();
  EXPECT_EQ(GetMenuItemCount(second), 1);
  DestroyMenu(first);
  DestroyMenu(second);
}

TEST_F(PluginInPlayer, ThePlayerDescribesWhatThePlugInDoesNotRead) {
  storeSettings([](PageSettings& page, GlobalSettings&) { page.switches.mp3 = false; });
  const std::string playing = song("id3v1_1.mp3", "Switched Off.mp3");
  const std::string upper = song("id3v1_1.mp3", "song.MP3");
  const std::string stream = "http://radio.example/stream";
  player_.scenario().playlist = {playing, upper, stream,
                                 "file://" + ansiPath(music() / "song.MP3")};
  player_.scenario().streamProperties = {44, 128, 2};
  for (const auto& name : {playing, upper, stream})
    player_.scenario().fileInfo[{name, "Title"}] = "From the player";
  start();

  playSong(0, "switched off");
  EXPECT_NE(page().find("From the player|Unknown|128"), std::string::npos) << page();
  // The switch holds for the type in any letter case.
  playSong(1, "switched off, upper-case extension");
  EXPECT_NE(page().find("From the player|"), std::string::npos) << page();
  playSong(2, "stream");
  EXPECT_NE(page().find("From the player|"), std::string::npos) << page();

  // A file:// name is the local file; a selected file that is not playing is unknown.
  player_.scenario().playingPosition = 2;
  player_.scenario().selection = {3};
  SendMessageA(player_.playlistWindow(), WM_COMMAND, 6666, 0);
  EXPECT_NE(page().find("Unknown|Unknown|Unknown"), std::string::npos) << page();
}

// The plug-in's temporary files in the system's temporary folder.
std::vector<fs::path> temporaryFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
    if (entry.path().filename().string().starts_with("tup")) files.push_back(entry.path());
  return files;
}

TEST_F(PluginInPlayer, QuitSavesTheSettingsAndLeavesNoWindowOrFileOfOurs) {
  const auto procedureOf = [](HWND window) { return GetWindowLongPtrW(window, GWLP_WNDPROC); };
  const auto filesBefore = temporaryFiles();
  const LONG_PTR main = procedureOf(player_.mainWindow());
  const LONG_PTR playlist = procedureOf(player_.playlistWindow());
  const LONG_PTR frame = procedureOf(player_.libraryWindow());
  start();
  EXPECT_NE(procedureOf(player_.mainWindow()), main);
  EXPECT_NE(procedureOf(player_.playlistWindow()), playlist);
  EXPECT_NE(procedureOf(player_.libraryWindow()), frame);
  player_.quit();
  EXPECT_EQ(procedureOf(player_.mainWindow()), main);
  EXPECT_EQ(procedureOf(player_.playlistWindow()), playlist);
  EXPECT_EQ(procedureOf(player_.libraryWindow()), frame);
  // The Mini page's reserved name and its page are gone too.
  EXPECT_EQ(temporaryFiles(), filesBefore);

  // The first run found no key and saved the defaults; the second reads them.
  host::RegistrySettingsStore store;
  const GlobalSettings global = loadGlobalSettings(store);
  EXPECT_EQ(global.hotkey, "WIN+C");
  const PageSettings saved = loadPageSettings(store, u"");
  EXPECT_EQ(saved.coverName, u"folder.jpg");
  EXPECT_TRUE(saved.setFocus);
  EXPECT_TRUE(saved.switches.mp3);
}

TEST_F(PluginInPlayer, OnlyPlayersFrom5000GetTheLibraryFrameAndTheHotkeyRecord) {
  player_.scenario().version = 0x4FFF;
  const LONG_PTR frame = GetWindowLongPtrW(player_.libraryWindow(), GWLP_WNDPROC);
  const auto filesBefore = temporaryFiles();
  start();
  player_.pumpMessages();
  EXPECT_EQ(GetWindowLongPtrW(player_.libraryWindow(), GWLP_WNDPROC), frame);
  EXPECT_EQ(temporaryFiles(), filesBefore);
  EXPECT_TRUE(player_.received().hotkeyRecords.empty());
  EXPECT_EQ(urls(), 1u);
  player_.quit();

  player_.scenario().version = 0x5000;
  start();
  player_.pumpMessages();
  EXPECT_NE(GetWindowLongPtrW(player_.libraryWindow(), GWLP_WNDPROC), frame);
  // The reserved name, and the Mini page's own file made beside it at once.
  EXPECT_EQ(temporaryFiles().size(), filesBefore.size() + 2);
  ASSERT_EQ(player_.received().hotkeyRecords.size(), 1u);
  const auto* record = reinterpret_cast<const std::uint32_t*>(player_.received().hotkeyRecords[0]);
  EXPECT_STREQ(reinterpret_cast<const char*>(record[0]), "TN: Search for Cover");
  EXPECT_EQ(record[2], 1024u);
  EXPECT_EQ(record[3], 100u);
  EXPECT_EQ(record[4], 100u);
  EXPECT_STREQ(reinterpret_cast<const char*>(record[5]), "Tunora_ShowCover");
  EXPECT_EQ(reinterpret_cast<HWND>(record[6]), player_.mainWindow());
}

TEST_F(PluginInPlayer, WithoutPlaylistAndLibraryWindowsSongsAreStillFollowed) {
  StandinHost bare(Layout{false, LibraryWindow::None});
  bare.scenario().playlist = {song("id3v1_1.mp3", "a.mp3")};
  ASSERT_TRUE(bare.load());
  ASSERT_EQ(bare.init(), 0);
  bare.setTitle("a");
  bare.fireTimer(42);
  EXPECT_EQ(bare.received().openedUrls.size(), 2u);
  bare.quit();
}

TEST_F(PluginInPlayer, APlayerThatAnswersNothingGetsNoPageAndNoCrash) {
  player_.scenario().answersNothing = true;
  player_.scenario().playlist = {song("id3v1_1.mp3", "a.mp3")};
  start();
  playSong(0, std::string(300, 'x'));
  playSong(0, std::string(300, 'x'));
  SendMessageA(player_.playlistWindow(), WM_COMMAND, 6667, 0);
  // No playing file is named, so there is nothing to show.
  EXPECT_NE(page().find("[No supported files found]"), std::string::npos) << page();
}

}  // namespace
}  // namespace tunora::standin
