// The Mini page in the stand-in player's Media Library: a click in the item
// list finds the item's file through the library's query messages, builds
// its page with the Mini template and sends the library's browser pane
// there, through the document object that the pane's browser window hands
// out. The library's own request to the pane is dropped meanwhile.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/registry_settings_store.h"
#include "io/file.h"
#include "settings/global_settings.h"
#include "settings/page_settings.h"
#include "standin_host.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora::standin {
namespace {

namespace fs = std::filesystem;

constexpr char kSettingsKey[] = "Software\\Winamp\\ml_tunora";

class MiniPage : public ::testing::Test {
 protected:
  MiniPage() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    fs::create_directories(dir_.path() / "music");
    // The Mini template names the file and the title of its one track.
    std::u16string text =
        u"\uFEFFMINI\n<$trackbegin$>\n<$shortfilename$>|<$songname$>\n<$trackend$>";
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : text) {
      bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
      bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    EXPECT_TRUE(writeWholeFile((dir_.path() / "mini.html").u16string(), bytes));
  }
  ~MiniPage() override {
    player_.quit();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  }

  void start(bool showMini = true) {
    PageSettings page;
    page.templatePath(TemplateSlot::Mini) = (dir_.path() / "mini.html").u16string();
    GlobalSettings global;
    global.showMini = showMini;
    host::RegistrySettingsStore store;
    savePageSettings(store, page);
    saveGlobalSettings(store, global);
    ASSERT_TRUE(player_.load());
    ASSERT_EQ(player_.init(), 0);
  }

  // A track of the library: a copy of a tagged file under `name`.
  LibraryTrack track(const std::string& artist, const std::string& album, const std::string& title,
                     const std::string& name) {
    const fs::path file = dir_.path() / "music" / name;
    fs::copy_file(fs::path(testing::fixturePath("tags/id3v1_1.mp3")), file,
                  fs::copy_options::overwrite_existing);
    return {artist, album, title, file.string()};
  }

  // The library holds the tracks and its list shows them all.
  void showTracks(const std::vector<LibraryTrack>& tracks) {
    player_.scenario().library = tracks;
    LibraryView view;
    for (const LibraryTrack& t : tracks) view.items.push_back({t.artist, t.album, t.title});
    player_.openLibraryView(view);
  }

  // The page the pane was sent to last.
  std::string shownPage() const {
    if (player_.navigations().empty()) return "(no navigation)";
    const auto bytes = readWholeFile(
        std::u16string(player_.navigations().back().begin(), player_.navigations().back().end()));
    if (!bytes || bytes->size() < 2)
      return "(no page at " +
             convertUTF16ToUTF8(std::u16string(player_.navigations().back().begin(),
                                               player_.navigations().back().end())) +
             ")";
    std::u16string text;
    convertUTF16ToWChar(*bytes, text);
    return convertUTF16ToUTF8(text);
  }
  const Received& received() const { return player_.received(); }

  testing::TempDir dir_;
  StandinHost player_;
};

TEST_F(MiniPage, AClickShowsTheSelectedItemOrTheFirstInThePane) {
  std::vector<LibraryTrack> tracks;
  for (int i = 1; i <= 5; ++i) {
    const std::string n = std::to_string(i);
    tracks.push_back(track("Artist " + n, "Album " + n, "Title " + n, "track" + n + ".mp3"));
  }
  showTracks(tracks);
  start();
  const auto procedureOf = [](HWND window) { return GetWindowLongPtrW(window, GWLP_WNDPROC); };
  const LONG_PTR listParent = procedureOf(GetParent(player_.libraryList()));
  const LONG_PTR pane = procedureOf(player_.libraryPane());
  const LONG_PTR tree = procedureOf(player_.libraryTree());
  // Until the library's frame moves, the plug-in does not know its windows.
  player_.clickLibraryItem(4);
  EXPECT_TRUE(player_.navigations().empty());
  EXPECT_EQ(received().paneRequests, 1);

  player_.moveLibrary();
  player_.clickLibraryItem(4);
  EXPECT_EQ(received().libraryQueries.back(),
            "artist = \"Artist 5\" AND album = \"Album 5\" AND title = \"Title 5\"");
  EXPECT_EQ(received().libraryQueriesFreed, 1);
  ASSERT_EQ(player_.navigations().size(), 1u);
  EXPECT_TRUE(player_.navigations()[0].ends_with(L".html"));
  EXPECT_EQ(shownPage(), "MINI\ntrack5.mp3|V1 Title");
  // Our navigation's pane message passes; the library's own is dropped.
  EXPECT_EQ(received().paneRequests, 2);
  EXPECT_EQ(received().paneNoOperations, 1);

  player_.clickLibraryItem(std::nullopt);
  ASSERT_EQ(player_.navigations().size(), 2u);
  EXPECT_EQ(player_.navigations()[1], player_.navigations()[0]);
  EXPECT_EQ(shownPage(), "MINI\ntrack1.mp3|V1 Title");

  player_.quit();
  EXPECT_EQ(procedureOf(GetParent(player_.libraryList())), listParent);
  EXPECT_EQ(procedureOf(player_.libraryPane()), pane);
  EXPECT_EQ(procedureOf(player_.libraryTree()), tree);
}

TEST_F(MiniPage, OnlyTheColumnsTheListHasMakeConditionsAndQuotesStayInsideTheirValue) {
  player_.scenario().library = {
      track("Ann", "X", "Say \"Hi\"", "hi.mp3"),
      track("Ann", "X", "Say ", "say.mp3"),
      track("Bo", "Y", "Rock\" AND artist = \"Ann", "rock.mp3"),
      track("Ann", "Y", "Rock", "plain rock.mp3"),
  };
  LibraryView view;
  view.columns = {"TITLE", "Length", "artist"};
  view.items = {{"Say \"Hi\"", "3:00", "Ann"}, {"Rock\" AND artist = \"Ann", "4:00", "Bo"}};
  player_.openLibraryView(view);
  start();
  player_.moveLibrary();
  player_.clickLibraryItem(0);
  EXPECT_EQ(received().libraryQueries.back(), "artist = \"Ann\" AND title = \"Say \"\"Hi\"\"\"");
  EXPECT_EQ(shownPage(), "MINI\nhi.mp3|V1 Title");
  player_.clickLibraryItem(1);
  EXPECT_EQ(shownPage(), "MINI\nrock.mp3|V1 Title");
}

TEST_F(MiniPage, WithTheMiniPageOffTheLibraryKeepsItsPane) {
  showTracks({track("A", "B", "C", "a.mp3")});
  start(false);
  player_.moveLibrary();
  player_.clickLibraryItem(0);
  EXPECT_TRUE(received().libraryQueries.empty());
  EXPECT_TRUE(player_.navigations().empty());
  EXPECT_EQ(received().paneRequests, 1);
  EXPECT_EQ(received().paneNoOperations, 0);
}

TEST_F(MiniPage, ATreeClickFollowsTheListAndPaneOfTheNewView) {
  showTracks({track("A", "B", "C", "a.mp3")});
  start();
  player_.moveLibrary();
  // Another view: new windows, which the plug-in does not know yet.
  showTracks({track("D", "E", "F", "d.mp3")});
  player_.clickLibraryItem(0);
  EXPECT_TRUE(player_.navigations().empty());
  // Moving the frame again does not search while a list is known.
  player_.moveLibrary();
  player_.clickLibraryItem(0);
  EXPECT_TRUE(player_.navigations().empty());
  player_.clickTree();
  player_.clickLibraryItem(0);
  EXPECT_EQ(shownPage(), "MINI\nd.mp3|V1 Title");
  EXPECT_EQ(received().paneNoOperations, 1);
}

TEST_F(MiniPage, WhatTheLibraryCannotAnswerShowsNothing) {
  const LibraryTrack known = track("A", "B", "C", "a.mp3");
  showTracks({known, known});
  // Two results despite the maximum of one.
  player_.scenario().libraryIgnoresMaximum = true;
  start();
  player_.moveLibrary();
  player_.clickLibraryItem(1);
  EXPECT_EQ(received().libraryQueries.size(), 1u);
  EXPECT_EQ(received().libraryQueriesFreed, 1);
  // No result.
  player_.scenario().library.clear();
  player_.scenario().libraryFiles.clear();
  player_.scenario().library = {track("Z", "Z", "Z", "z.mp3")};
  player_.clickLibraryItem(0);
  EXPECT_EQ(received().libraryQueriesFreed, 2);
  // A list without columns and an empty list ask nothing.
  LibraryView bare;
  bare.columns.clear();
  bare.items = {{"A"}};
  player_.openLibraryView(bare);
  player_.clickTree();
  player_.clickLibraryItem(0);
  player_.openLibraryView(LibraryView{});
  player_.clickTree();
  player_.clickLibraryItem(std::nullopt);
  EXPECT_EQ(received().libraryQueries.size(), 2u);
  EXPECT_TRUE(player_.navigations().empty());
}

TEST_F(MiniPage, ABrowserThatCannotBeReachedIsLeftAlone) {
  showTracks({track("A", "B", "C", "a.mp3")});
  start();
  player_.moveLibrary();
  for (const DocumentAnswers answers :
       {DocumentAnswers::NoObject, DocumentAnswers::NoServiceProvider,
        DocumentAnswers::NoBrowser}) {
    player_.document().answers = answers;
    player_.clickLibraryItem(0);
    EXPECT_TRUE(player_.navigations().empty());
  }
  // Without its browser windows, the pane still drops the library's request.
  LibraryView view;
  view.items = {{"A", "B", "C"}};
  view.paneChildren = false;
  player_.openLibraryView(view);
  player_.clickTree();
  player_.document().answers = DocumentAnswers::Everything;
  const int dropped = received().paneNoOperations;
  player_.clickLibraryItem(0);
  EXPECT_TRUE(player_.navigations().empty());
  EXPECT_EQ(received().paneNoOperations, dropped + 1);
}

TEST_F(MiniPage, LongValuesAndManyItems) {
  const std::string artist(1023, 'a');
  const std::string title(1023, 't');
  player_.scenario().library = {track(artist, "", title, "long.mp3")};
  LibraryView view;
  view.items.assign(10000, {"x", "y", "z"});
  view.items.back() = {artist, "", title};
  player_.openLibraryView(view);
  start();
  player_.moveLibrary();
  player_.clickLibraryItem(9999);
  EXPECT_EQ(received().libraryQueries.back(),
            "artist = \"" + artist + "\" AND title = \"" + title + "\"");
  EXPECT_EQ(shownPage(), "MINI\nlong.mp3|V1 Title");
}

}  // namespace
}  // namespace tunora::standin
