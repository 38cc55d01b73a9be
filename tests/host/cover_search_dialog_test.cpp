// The Cover-Search dialog against the stand-in store: opened by the player's
// toggle in the real plug-in, and on its own with a desktop that the tests
// answer in place of the save dialog and the shell. The steps run in the
// dialog's own modal loop, sending what clicks and selections send.
#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "coversearch/http_client.h"
#include "dialog_driver.h"
#include "host/cover_search_dialog.h"
#include "host/cover_search_dialog_ids.h"
#include "host/host_messages.h"
#include "host/registry_settings_store.h"
#include "io/file.h"
#include "settings/memory_settings_store.h"
#include "standin_host.h"
#include "support/store_server.h"
#include "support/temp_dir.h"
#include "support/temp_folder.h"

namespace tunora::standin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr char kSettingsKey[] = "Software\\Winamp\\ml_tunora";

// Three albums on the US front: the first with a cover behind its image
// page, the second without, the third with a CMYK picture that is not shown.
void writeStorePages(const fs::path& dir) {
  std::ofstream(dir / "search-handle-form", std::ios::binary)
      << "<html><a href=\"/gp/detail/B01\"><b>V1 Artist</b> - V1 Album</a>\n"
         "<a href=\"/gp/detail/B02\">Bare Album</a>\n"
         "<a href=\"/gp/detail/B03\">Print Album</a>\n</html>";
  std::ofstream(dir / "B01", std::ios::binary)
      << "<a href=\"http://www.store.test/gp/product/images/B01-images\">more</a>";
  std::ofstream(dir / "B01-images", std::ios::binary)
      << "<html><body><img src=\"http://images.store.test/P/B01.LZZZZZZZ_.jpg\">";
  fs::copy_file(fs::path(testing::fixturePath("jpeg/ycbcr.jpg")), dir / "B01.LZZZZZZZ_.jpg");
  std::ofstream(dir / "B02", std::ios::binary) << "<html>no pictures</html>";
  std::ofstream(dir / "B03", std::ios::binary)
      << "<a href=\"http://www.store.test/gp/product/images/B03-images\">more</a>";
  std::ofstream(dir / "B03-images", std::ios::binary)
      << "<html><body><img src=\"http://images.store.test/P/B03.LZZZZZZZ_.jpg\">";
  fs::copy_file(fs::path(testing::fixturePath("jpeg/cmyk.jpg")), dir / "B03.LZZZZZZZ_.jpg");
  // One MusicBrainz release, whose front cover is one redirect away.
  std::ofstream(dir / "ws_2_release", std::ios::binary)
      << R"({"releases":[{"id":"r1","title":"V1 Album","date":"2001","country":"GB",)"
         R"("artist-credit":[{"name":"V1 Artist"}],"media":[{"format":"CD"}]}]})";
  std::ofstream(dir / "release_r1_front-500.redirect", std::ios::binary)
      << "http://images.archive.test/r1.jpg";
  fs::copy_file(fs::path(testing::fixturePath("jpeg/ycbcr.jpg")), dir / "r1.jpg");
}

// One store for the whole program: WinINet keeps the proxy of the first
// session, so a second server on another port would not be reached.
testing::StoreServer& store() {
  static const TempDir pages;
  static testing::StoreServer server((writeStorePages(pages.path()), pages.path()));
  return server;
}

constexpr char kTitle[] = "Cover-Search";
// The system's save dialog, as Wine titles it.
constexpr char kSaveTitle[] = "Save As";

std::string text(HWND dialog, int id) {
  return controlText(dialog, id);
}

// The network part runs on the dialog's worker: each step waits for its answer.
void search(HWND dialog) {
  click(dialog, TUNORA_COVER_SEARCH);
  EXPECT_TRUE(waitUntilEnabled(dialog, TUNORA_COVER_SEARCH));
}

void selectResult(HWND dialog, int index) {
  const HWND list = GetDlgItem(dialog, TUNORA_COVER_RESULTS);
  SendMessageA(list, LB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(TUNORA_COVER_RESULTS, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  EXPECT_TRUE(waitUntilEnabled(dialog, TUNORA_COVER_SEARCH));
}

bool enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

SIZE pictureSize(HWND dialog) {
  const auto bitmap = reinterpret_cast<HBITMAP>(
      SendDlgItemMessageA(dialog, TUNORA_COVER_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

std::size_t filesIn(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

class CoverSearchInPlayer : public ::testing::Test {
 protected:
  CoverSearchInPlayer() { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }
  ~CoverSearchInPlayer() override {
    player_.quit();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  }

  void start(const std::string& usHost) {
    host::RegistrySettingsStore store;
    saveStoreHosts(store, {usHost, "store.example.de"});
    saveMusicBrainzService(store, {"http://" + usHost, "http://" + usHost});
    ASSERT_TRUE(player_.load());
    ASSERT_EQ(player_.init(), 0);
  }
  // The player's toggle message, as its hotkey service sends it.
  void toggle() { SendMessageA(player_.mainWindow(), host::kPlayerMessage, 100, 100); }

  testing::StoreServer& server_ = store();
  StandinHost player_;
};

TEST_F(CoverSearchInPlayer, SearchShowsTheResultsAndTheCoverOfTheOneSelected) {
  ASSERT_TRUE(server_.running());
  start(server_.host());
  const TempDir temp;
  const testing::TempFolderOverride tempFolder(temp.path());
  const auto steps = [&](HWND dialog) {
    // No page was shown about a track yet.
    EXPECT_EQ(text(dialog, TUNORA_COVER_KEYWORDS), "Unknown Unknown");
    EXPECT_EQ(text(dialog, TUNORA_COVER_STORE), server_.host());
    EXPECT_FALSE(enabled(dialog, TUNORA_COVER_OPEN_PAGE));
    EXPECT_FALSE(enabled(dialog, TUNORA_COVER_SAVE));

    SetDlgItemTextA(dialog, TUNORA_COVER_KEYWORDS, "Simon & Garfunkel");
    search(dialog);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Found 3 items");
    EXPECT_EQ(server_.requests().back().body,
              "size=10&field-keywords=Simon+%26+Garfunkel&url=index%3Dmusic");
    const HWND list = GetDlgItem(dialog, TUNORA_COVER_RESULTS);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    char first[64] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "V1 Artist - V1 Album");
    EXPECT_TRUE(enabled(dialog, TUNORA_COVER_OPEN_PAGE));
    EXPECT_FALSE(enabled(dialog, TUNORA_COVER_SAVE));

    selectResult(dialog, 0);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Cover found");
    EXPECT_EQ(pictureSize(dialog).cx, 241);
    EXPECT_EQ(pictureSize(dialog).cy, 241);
    EXPECT_TRUE(enabled(dialog, TUNORA_COVER_SAVE));
    EXPECT_TRUE(enabled(dialog, TUNORA_COVER_SAVE_EDIT));
    // The downloaded cover stays in memory for saving: nothing on disk.
    EXPECT_EQ(filesIn(temp.path()), 0u);
    if (const char* picture = std::getenv("TUNORA_DIALOG_PICTURE"))
      saveWindowPicture(dialog, picture);

    selectResult(dialog, 1);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "No cover found for this item");
    EXPECT_EQ(pictureSize(dialog).cx, 0);
    EXPECT_FALSE(enabled(dialog, TUNORA_COVER_SAVE));
    selectResult(dialog, 2);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Internal error");
    EXPECT_EQ(pictureSize(dialog).cx, 0);
    EXPECT_FALSE(enabled(dialog, TUNORA_COVER_SAVE_EDIT));

    // Fetched and shown again.
    selectResult(dialog, 0);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Cover found");
    EXPECT_EQ(pictureSize(dialog).cx, 241);
    search(dialog);
    EXPECT_EQ(pictureSize(dialog).cx, 0);
    EXPECT_EQ(filesIn(temp.path()), 0u);
    click(dialog, TUNORA_COVER_EXIT);
    EXPECT_FALSE(IsWindowVisible(dialog));
  };
  EXPECT_TRUE(whileDialogOpen(kTitle, steps, [&] { toggle(); }).found);
}

TEST_F(CoverSearchInPlayer, MusicBrainzIsTheThirdSourceAndIsRememberedOnceUsed) {
  ASSERT_TRUE(server_.running());
  start(server_.host());
  const auto searchMusicBrainz = [&](HWND dialog) {
    const HWND stores = GetDlgItem(dialog, TUNORA_COVER_STORE);
    ASSERT_EQ(SendMessageA(stores, CB_GETCOUNT, 0, 0), 3);
    SendMessageA(stores, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STORE), "MusicBrainz");
    search(dialog);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Found 1 items");
    char first[64] = {};
    SendDlgItemMessageA(dialog, TUNORA_COVER_RESULTS, LB_GETTEXT, 0,
                        reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "V1 Artist - V1 Album (2001, GB, CD)");
    selectResult(dialog, 0);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Cover found");
    EXPECT_EQ(pictureSize(dialog).cx, 241);
    click(dialog, TUNORA_COVER_EXIT);
  };
  EXPECT_TRUE(whileDialogOpen(kTitle, searchMusicBrainz, [&] { toggle(); }).found);
  const auto remembered = [&](HWND dialog) {
    EXPECT_EQ(text(dialog, TUNORA_COVER_STORE), "MusicBrainz");
    click(dialog, TUNORA_COVER_EXIT);
  };
  EXPECT_TRUE(whileDialogOpen(kTitle, remembered, [&] { toggle(); }).found);
}

TEST_F(CoverSearchInPlayer, TheToggleClosesWhatItOpenedAndTheMenuNeverOpensASecond) {
  ASSERT_TRUE(server_.running());
  start(server_.host());
  const auto steps = [&](HWND dialog) {
    // The menu item while the dialog is open: nothing more.
    SendMessageA(player_.playlistWindow(), WM_COMMAND, 6668, 0);
    toggle();
    EXPECT_FALSE(IsWindowVisible(dialog));
  };
  const DialogRun run = whileDialogOpen(kTitle, steps, [&] { toggle(); });
  EXPECT_TRUE(run.found);
  EXPECT_EQ(run.secondDialogs, 0);
  // And from the menu when it is closed.
  const auto close = [](HWND dialog) { SendMessageA(dialog, WM_CLOSE, 0, 0); };
  EXPECT_TRUE(whileDialogOpen(kTitle, close, [&] {
                SendMessageA(player_.playlistWindow(), WM_COMMAND, 6668, 0);
              }).found);
}

// The system's save dialog runs its loop inside the Cover-Search dialog's.
// The hotkey's toggle, or quitting the player, ends both at once; the
// plug-in goes only once their loops have returned.
TEST_F(CoverSearchInPlayer, QuitOrToggleWhileTheSaveDialogIsOpenEndsItFirst) {
  ASSERT_TRUE(server_.running());
  const struct {
    const char* name;
    std::function<void(StandinHost&)> end;
  } endings[] = {
      {"toggle",
       [](StandinHost& player) {
         SendMessageA(player.mainWindow(), host::kPlayerMessage, 100, 100);
       }},
      // Last: the module then stays loaded for good.
      {"quit", [](StandinHost& player) { player.unload(); }},
  };
  for (const auto& ending : endings) {
    SCOPED_TRACE(ending.name);
    const LONG_PTR mainProcedure = GetWindowLongPtrW(player_.mainWindow(), GWLP_WNDPROC);
    start(server_.host());
    const TempDir temp;
    const testing::TempFolderOverride tempFolder(temp.path());
    HWND saveDialog = nullptr;
    bool endedAtOnce = false;
    const auto steps = [&](HWND dialog) {
      search(dialog);
      selectResult(dialog, 0);
      ASSERT_TRUE(enabled(dialog, TUNORA_COVER_SAVE));
      const auto end = [&](HWND save) {
        saveDialog = save;
        // Owned by the dialog whose button asked, which waits meanwhile.
        EXPECT_EQ(GetWindow(save, GW_OWNER), dialog);
        EXPECT_FALSE(IsWindowEnabled(dialog));
        ending.end(player_);
        endedAtOnce = !IsWindowVisible(save) && !IsWindowVisible(dialog);
      };
      EXPECT_TRUE(
          whileDialogOpen(kSaveTitle, end, [&] { click(dialog, TUNORA_COVER_SAVE); }).found);
    };
    EXPECT_TRUE(whileDialogOpen(kTitle, steps, [&] { toggle(); }).found);
    EXPECT_TRUE(endedAtOnce);
    EXPECT_FALSE(IsWindow(saveDialog));
    EXPECT_EQ(FindWindowA("#32770", kTitle), nullptr);
    if (std::string(ending.name) == "quit") {
      // The plug-in is gone and gave the player's window its procedure back.
      EXPECT_EQ(GetWindowLongPtrW(player_.mainWindow(), GWLP_WNDPROC), mainProcedure);
    } else {
      player_.quit();
    }
  }
}

TEST_F(CoverSearchInPlayer, AStoreThatRefusesGivesTheFailureText) {
  start("127.0.0.1:" + std::to_string(testing::refusingPort()));
  const auto steps = [&](HWND dialog) {
    search(dialog);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Error: Could not get search page");
    EXPECT_FALSE(enabled(dialog, TUNORA_COVER_OPEN_PAGE));
    click(dialog, TUNORA_COVER_EXIT);
  };
  EXPECT_TRUE(whileDialogOpen(kTitle, steps, [&] { toggle(); }).found);
}

// The dialog on its own, with the save dialog and the shell answered here.
class CoverSearchSaving : public ::testing::Test {
 protected:
  host::CoverSearchDesktop desktop() {
    return {[this](const std::optional<std::string>& folder, const std::string& suggested) {
              askedFolder_ = folder;
              askedName_ = suggested;
              return answer_;
            },
            [this](const char* verb, const std::string& target) {
              shell_.push_back(std::string(verb) + " " + target);
            }};
  }
  // Searches, selects the album with a cover, then lets `steps` go on.
  void run(const host::CoverSearchTrack& track, const std::function<void(HWND)>& steps) {
    const auto client = makeStandaloneHttpClient();
    MemorySettingsStore settings;
    saveStoreHosts(settings, {server_.host(), "x.de"});
    host::CoverSearchDialog dialog(GetModuleHandleA(nullptr), *client, settings, desktop());
    const auto all = [&](HWND window) {
      click(window, TUNORA_COVER_OPEN_PAGE);
      EXPECT_EQ(text(window, TUNORA_COVER_STATUS), "No item selected");
      search(window);
      selectResult(window, 0);
      steps(window);
      click(window, TUNORA_COVER_EXIT);
    };
    EXPECT_TRUE(whileDialogOpen(kTitle, all, [&] { dialog.run(nullptr, track); }).found);
  }

  testing::StoreServer& server_ = store();
  TempDir music_;
  std::optional<std::string> answer_;
  std::optional<std::string> askedFolder_;
  std::string askedName_;
  std::vector<std::string> shell_;
};

TEST_F(CoverSearchSaving, SaveWritesTheStoresBytesUnderTheChosenName) {
  ASSERT_TRUE(server_.running());
  const std::string song = (music_.path() / "AC_DC" / "01.mp3").string();
  answer_ = (music_.path() / "cover.jpg").string();
  run({"AC/DC", "What?", song, "%a - %b.jpg"}, [&](HWND dialog) {
    click(dialog, TUNORA_COVER_SAVE);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Cover saved");
    click(dialog, TUNORA_COVER_SAVE_EDIT);
    click(dialog, TUNORA_COVER_OPEN_PAGE);
  });
  EXPECT_EQ(askedName_, "AC_DC - What_.jpg");
  EXPECT_EQ(askedFolder_, (music_.path() / "AC_DC").string() + "\\");
  EXPECT_EQ(readWholeFile(fs::path(*answer_).u16string()),
            readWholeFile(testing::fixturePath("jpeg/ycbcr.jpg")));
  ASSERT_EQ(shell_.size(), 2u);
  EXPECT_EQ(shell_[0], "edit " + *answer_);
  EXPECT_EQ(shell_[1], "open http://" + server_.host() + "/gp/detail/B01");
}

TEST_F(CoverSearchSaving, CancelledAndUnwritableSavesSaySo) {
  ASSERT_TRUE(server_.running());
  run({"Unknown", "Unknown", "unknown", "folder.jpg"}, [&](HWND dialog) {
    click(dialog, TUNORA_COVER_SAVE_EDIT);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Saving cancelled");
    answer_ = (music_.path() / "no folder" / "folder.jpg").string();
    click(dialog, TUNORA_COVER_SAVE_EDIT);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Could not create file");
    // A read-only cover keeps its bytes.
    answer_ = (music_.path() / "kept.jpg").string();
    std::ofstream(*answer_, std::ios::binary) << "kept";
    SetFileAttributesA(answer_->c_str(), FILE_ATTRIBUTE_READONLY);
    click(dialog, TUNORA_COVER_SAVE);
    EXPECT_EQ(text(dialog, TUNORA_COVER_STATUS), "Could not create file");
    std::ifstream kept(*answer_, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
    kept.close();
    SetFileAttributesA(answer_->c_str(), FILE_ATTRIBUTE_NORMAL);
  });
  // Without a track the save dialog starts where it likes.
  EXPECT_FALSE(askedFolder_);
  EXPECT_EQ(askedName_, "folder.jpg");
  EXPECT_TRUE(shell_.empty());
}

// A store that answers its first connection with a long page, a little at a
// time: each read waits, none times out, and the whole page would take
// minutes.
class TricklingStore {
 public:
  TricklingStore() {
    WSADATA data{};
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
      return;
    port_ = ntohs(address.sin_port);
    server_ = std::thread([this] { serve(); });
  }
  ~TricklingStore() {
    stop_ = true;
    closesocket(listener_);
    if (server_.joinable()) server_.join();
    WSACleanup();
  }
  TricklingStore(const TricklingStore&) = delete;
  TricklingStore& operator=(const TricklingStore&) = delete;

  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  bool listening() const { return port_ != 0; }
  int piecesSent() const { return sent_; }

 private:
  void serve() {
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    char request[4096];
    recv(client, request, sizeof request, 0);
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 10000000\r\n\r\n";
    const std::string piece(256, '<');
    bool open = send(client, head.data(), static_cast<int>(head.size()), 0) > 0;
    while (open && !stop_) {
      open = send(client, piece.data(), static_cast<int>(piece.size()), 0) > 0;
      if (open) ++sent_;
      Sleep(100);
    }
    closesocket(client);
  }

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> sent_{0};
  std::thread server_;
};

TEST(CoverSearchWorker, TheDialogAnswersWhileTheStoreTricklesAndExitAbortsTheSearch) {
  TricklingStore store;
  ASSERT_TRUE(store.listening());
  const auto client = makeStandaloneHttpClient({60, 60});
  MemorySettingsStore settings;
  saveStoreHosts(settings, {store.host(), "x.de"});
  host::CoverSearchDialog dialog(GetModuleHandleA(nullptr), *client, settings);
  DWORD searchTook = 0;
  DWORD exitTook = 0;
  int sentAtExit = 0;
  const auto steps = [&](HWND window) {
    DWORD start = GetTickCount();
    click(window, TUNORA_COVER_SEARCH);
    searchTook = GetTickCount() - start;
    EXPECT_TRUE(dialog.isBusy());
    EXPECT_FALSE(enabled(window, TUNORA_COVER_SEARCH));
    // The dialog goes on taking input while the worker reads.
    EXPECT_FALSE(waitUntilEnabled(window, TUNORA_COVER_SEARCH, 1000));
    SetDlgItemTextA(window, TUNORA_COVER_KEYWORDS, "typed meanwhile");
    EXPECT_EQ(text(window, TUNORA_COVER_KEYWORDS), "typed meanwhile");
    EXPECT_GT(store.piecesSent(), 0);
    start = GetTickCount();
    click(window, TUNORA_COVER_EXIT);
    exitTook = GetTickCount() - start;
    sentAtExit = store.piecesSent();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(dialog.isBusy());
  };
  EXPECT_TRUE(whileDialogOpen(kTitle, steps, [&] {
                dialog.run(nullptr, {"Unknown", "Unknown", "unknown", "folder.jpg"});
              }).found);
  EXPECT_LT(searchTook, 1000u);
  EXPECT_LT(exitTook, 3000u);
  // Read to its end, the page would have taken more than a minute.
  EXPECT_LT(sentAtExit * 256, 200000);
}

}  // namespace
}  // namespace tunora::standin
