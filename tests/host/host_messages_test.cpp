#include "host/host_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/ansi_text.h"
#include "standin_host.h"

namespace tunora::standin {
namespace {

using namespace tunora::host;

// "’" and "€" in the Western code page the tests' names are written in.
bool westernCodePage() {
  return GetACP() == 1252;
}

Layout withoutPlaylistWindow() {
  Layout layout;
  layout.playlistWindow = false;
  return layout;
}

Layout withLibrary(LibraryWindow library) {
  Layout layout;
  layout.library = library;
  return layout;
}

TEST(HostMessages, MainWindowAnswersEveryQuery) {
  StandinHost player;
  Scenario& scenario = player.scenario();
  scenario.version = 0x5666;
  scenario.playlist = {"C:\\Music\\a.mp3", "C:\\Music\\B.Flac"};
  scenario.playingPosition = 1;
  scenario.skinFolder = "C:\\Program Files\\Winamp\\Skins\\Bento";
  const HWND main = player.mainWindow();

  EXPECT_EQ(hostVersion(main), 0x5666);
  EXPECT_EQ(playlistWindow(main), player.playlistWindow());
  EXPECT_EQ(playingPosition(main), 1);
  EXPECT_EQ(playlistFileName(main, 0), u"C:\\Music\\a.mp3");
  EXPECT_EQ(playlistFileName(main, 1), u"C:\\Music\\B.Flac");
  EXPECT_EQ(playlistFileName(main, 2), std::nullopt);
  EXPECT_EQ(skinFolder(main), u"C:\\Program Files\\Winamp\\Skins\\Bento");
  EXPECT_EQ(hotkeyMessageNumber(main), 0x10123u);
}

TEST(HostMessages, PlayerWindowByClassAnswersStreamAndFileInfo) {
  StandinHost player;
  Scenario& scenario = player.scenario();
  scenario.streamProperties = {44, 128, 2};
  scenario.fileInfo[{"C:\\a.wma", "Title"}] = "Hello";
  scenario.fileInfo[{"C:\\a.wma", "Comment"}] = "";

  EXPECT_EQ(findPlayerWindow(), player.mainWindow());
  EXPECT_EQ(streamProperty(StreamProperty::SampleRateKHz), 44u);
  EXPECT_EQ(streamProperty(StreamProperty::BitrateKbps), 128u);
  EXPECT_EQ(streamProperty(StreamProperty::Channels), 2u);
  EXPECT_EQ(extendedFileInfo(u"C:\\a.wma", "Title"), u"Hello");
  // An empty answer is an answer; an unknown key is none.
  EXPECT_EQ(extendedFileInfo(u"C:\\a.wma", "Comment"), u"");
  EXPECT_EQ(extendedFileInfo(u"C:\\a.wma", "Lyrics"), std::nullopt);
  EXPECT_EQ(extendedFileInfo(u"C:\\b.wma", "Title"), std::nullopt);
}

TEST(HostMessages, RequestsReachThePlayer) {
  StandinHost player;
  openInMinibrowser(player.mainWindow(), u"file://c:\\winamp\\winampmb.htm");
  keepMinibrowserPage();
  notifyPageShown(player.mainWindow());
  PostMessageW(player.mainWindow(), kPlayerMessage, 0x1234, 0x10123);
  player.pumpMessages();
  SetFocus(player.mainWindow());

  const Received& received = player.received();
  EXPECT_EQ(received.openedUrls, std::vector<std::string>{"file://c:\\winamp\\winampmb.htm"});
  EXPECT_EQ(received.keepPageRequests, 1);
  EXPECT_EQ(received.commands, std::vector<WORD>{40364});
  EXPECT_EQ(received.hotkeyRecords, std::vector<WPARAM>{0x1234});
  EXPECT_EQ(received.focusGained, 1);
}

TEST(HostMessages, HotkeyServiceIsThereOnlyAboveThePlayersCodes) {
  StandinHost player;
  player.scenario().hotkeyMessage = 65536;
  EXPECT_EQ(hotkeyMessageNumber(player.mainWindow()), std::nullopt);
  player.scenario().hotkeyMessage = 65537;
  EXPECT_EQ(hotkeyMessageNumber(player.mainWindow()), 65537u);
}

TEST(HostMessages, PlayerTextsUseTheAnsiCodePageBothWays) {
  if (!westernCodePage()) GTEST_SKIP() << "needs code page 1252";
  StandinHost player;
  Scenario& scenario = player.scenario();
  const std::string name = "C:\\Music\\It\x92s 5\x80.mp3";
  const std::u16string wideName = u"C:\\Music\\It’s 5€.mp3";
  scenario.playlist = {name};
  scenario.fileInfo[{name, "Artist"}] = "Caf\xe9 \x80";
  scenario.skinFolder = "C:\\Skins\\\x80uro";

  EXPECT_EQ(playlistFileName(player.mainWindow(), 0), wideName);
  // Found only when the wide name goes back to the player's very bytes.
  EXPECT_EQ(extendedFileInfo(wideName, "Artist"), u"Café €");
  EXPECT_EQ(skinFolder(player.mainWindow()), u"C:\\Skins\\€uro");
  openInMinibrowser(player.mainWindow(), u"file://C:\\It’s\\€.htm");
  EXPECT_EQ(player.received().openedUrls.at(0), "file://C:\\It\x92s\\\x80.htm");
  // A letter the code page lacks is not swapped for a look-alike ("a").
  EXPECT_EQ(wideToAnsi(u"C:\\\u0101.mp3"), "C:\\?.mp3");
  EXPECT_EQ(ansiToWide(std::string_view("a\0b", 3)), u"a");
}

TEST(HostMessages, SkinFolderIsCutToTheBufferAndTerminated) {
  StandinHost player;
  for (const std::size_t length : {259u, 260u, 300u}) {
    player.scenario().skinFolder = std::string(length, 's');
    const auto folder = skinFolder(player.mainWindow());
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, std::u16string(259, u's')) << length;
  }
}

TEST(HostMessages, FileInfoIsCutToTheCapacityItWasGiven) {
  StandinHost player;
  player.scenario().fileInfo[{"a.ogg", "Lyrics"}] = std::string(5000, 'l');
  EXPECT_EQ(extendedFileInfo(u"a.ogg", "Lyrics"), std::u16string(4095, u'l'));
  player.scenario().fileInfo[{"a.ogg", "Lyrics"}] = std::string(4094, 'l');
  EXPECT_EQ(extendedFileInfo(u"a.ogg", "Lyrics"), std::u16string(4094, u'l'));
}

TEST(HostMessages, PlayerThatAnswersNothing) {
  StandinHost player;
  Scenario& scenario = player.scenario();
  scenario.playlist = {"a.mp3"};
  scenario.skinFolder = "C:\\Skins\\x";
  scenario.skinBitmap = SkinBitmap{1, 1, {0}};
  scenario.streamProperties = {44, 128, 2};
  scenario.fileInfo[{"a.mp3", "Title"}] = "t";
  scenario.libraryFiles["q"] = {"a.mp3"};
  scenario.answersNothing = true;
  const HWND main = player.mainWindow();

  EXPECT_EQ(hostVersion(main), 0);
  EXPECT_EQ(playlistWindow(main), nullptr);
  EXPECT_EQ(playlistFileName(main, playingPosition(main)), std::nullopt);
  EXPECT_EQ(skinFolder(main), u"");
  EXPECT_FALSE(genericSkinBitmap(main));
  EXPECT_EQ(hotkeyMessageNumber(main), std::nullopt);
  EXPECT_EQ(streamProperty(StreamProperty::BitrateKbps), 0u);
  EXPECT_EQ(extendedFileInfo(u"a.mp3", "Title"), std::nullopt);
  EXPECT_EQ(queryLibraryFile(player.libraryParent(), u"q"), std::nullopt);
  EXPECT_EQ(player.received().libraryQueriesFreed, 1);
}

TEST(HostMessages, WithoutAPlayerNothingIsAsked) {
  EXPECT_EQ(findPlayerWindow(), nullptr);
  EXPECT_EQ(hostVersion(nullptr), 0);
  EXPECT_EQ(playlistFileName(nullptr, 0), std::nullopt);
  EXPECT_EQ(skinFolder(nullptr), std::nullopt);
  EXPECT_EQ(streamProperty(StreamProperty::Channels), 0u);
  EXPECT_EQ(extendedFileInfo(u"a.mp3", "Title"), std::nullopt);
  EXPECT_EQ(queryLibraryFile(nullptr, u"q"), std::nullopt);
  keepMinibrowserPage();
  requestSelectedEntries(nullptr);
}

// Collects what the player reports of its selection at the main window, as
// the plug-in's procedure does.
std::vector<std::u16string> reportedEntries;
WNDPROC playerProcedure = nullptr;
LRESULT CALLBACK collectingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (isSelectedEntry(message, lParam))
    if (auto name = selectedEntryFileName(wParam)) reportedEntries.push_back(*name);
  return CallWindowProcW(playerProcedure, window, message, wParam, lParam);
}

TEST(HostMessages, SelectionIsReportedEntryByEntryDuringTheRequest) {
  StandinHost player;
  player.scenario().playlist = {"a.mp3", "b.ogg", "c.flac"};
  player.scenario().selection = {2, 0};
  reportedEntries.clear();
  playerProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      player.mainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(collectingProc)));

  requestSelectedEntries(playlistWindow(player.mainWindow()));
  EXPECT_EQ(reportedEntries, (std::vector<std::u16string>{u"c.flac", u"a.mp3"}));

  // A code with other high bits is still the entry report; other codes are not.
  EXPECT_TRUE(isSelectedEntry(kPlayerMessage, 0x10000 | 850));
  EXPECT_FALSE(isSelectedEntry(kPlayerMessage, 851));
  EXPECT_FALSE(isSelectedEntry(WM_USER + 1, 850));
  SetWindowLongPtrW(player.mainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(playerProcedure));
}

TEST(HostMessages, WithoutAPlaylistWindowNoSelectionIsReported) {
  StandinHost player(withoutPlaylistWindow());
  EXPECT_EQ(playlistWindow(player.mainWindow()), nullptr);
  requestSelectedEntries(playlistWindow(player.mainWindow()));
  EXPECT_TRUE(player.received().commands.empty());
}

std::vector<std::string> seenTitles;
LRESULT CALLBACK titleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) seenTitles.push_back(titleOfSetText(lParam));
  return CallWindowProcW(playerProcedure, window, message, wParam, lParam);
}

TEST(HostMessages, TitlesArriveWholeInThePlayersForm) {
  StandinHost player;
  seenTitles.clear();
  playerProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(player.mainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(titleProc)));
  const std::vector<std::string> titles = {std::string(259, 't'), std::string(260, 't'),
                                           std::string(300, 't')};
  for (const auto& title : titles) player.setTitle(title);
  EXPECT_EQ(seenTitles, titles);
  if (westernCodePage()) {
    player.setTitle("1. It\x92s \x80 - Winamp");
    EXPECT_EQ(seenTitles.back(), "1. It\x92s \x80 - Winamp");
  }
  SetWindowLongPtrW(player.mainWindow(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(playerProcedure));
}

TEST(HostMessages, LibraryWindowIsFoundByEitherNameAndVisibleOnlyWhenShown) {
  {
    StandinHost player;
    EXPECT_EQ(findLibraryWindow(), player.libraryWindow());
    EXPECT_FALSE(libraryVisible());
    player.showLibrary(true);
    EXPECT_TRUE(libraryVisible());
    player.showLibrary(false);
    EXPECT_FALSE(libraryVisible());
  }
  {
    StandinHost player(withLibrary(LibraryWindow::RootWnd));
    EXPECT_EQ(findLibraryWindow(), player.libraryWindow());
    player.showLibrary(true);
    EXPECT_TRUE(libraryVisible());
  }
  StandinHost player(withLibrary(LibraryWindow::None));
  player.showLibrary(true);
  EXPECT_EQ(findLibraryWindow(), nullptr);
  EXPECT_FALSE(libraryVisible());
}

TEST(HostMessages, LibraryQueryGivesItsOneFileAndIsAlwaysFreed) {
  StandinHost player;
  player.scenario().libraryFiles["artist = \"A\""] = {"C:\\a.mp3"};
  player.scenario().libraryFiles["album = \"none\""] = {};

  EXPECT_EQ(queryLibraryFile(player.libraryParent(), u"artist = \"A\""), u"C:\\a.mp3");
  EXPECT_EQ(queryLibraryFile(player.libraryParent(), u"album = \"none\""), std::nullopt);
  EXPECT_EQ(queryLibraryFile(player.libraryParent(), u"title = \"?\""), std::nullopt);
  EXPECT_EQ(player.received().libraryQueries.size(), 3u);
  EXPECT_EQ(player.received().libraryQueriesFreed, 3);
}

}  // namespace
}  // namespace tunora::standin
