#pragma once
// The player's side for the tests: its main window (class "Winamp v1.x"), its
// playlist window, the Media Library's window with the library's parent
// window, and the plug-in loaded from plugins\ml_tunora.dll beside this
// program, as the player lays it out. The main window answers the player's
// queries from a scenario the test sets, and everything the plug-in tells the
// player is recorded for the test to look at. Like the player, it keeps its
// texts as 8-bit text in the ANSI code page.

#include <windows.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/plugin_record.h"
#include "standin_browser.h"

namespace tunora::standin {

// A bitmap of the given pixels (Windows colour values, row by row) that the
// player hands out as its generic skin bitmap.
struct SkinBitmap {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
};

// A track of the stand-in's Media Library.
struct LibraryTrack {
  std::string artist;
  std::string album;
  std::string title;
  std::string file;
};

// What the library shows after a view was picked in its tree: an item list
// ("List4", a report list view) and the web-browser pane beside it.
struct LibraryView {
  std::vector<std::string> columns{"Artist", "Album", "Title"};
  // The texts of each item, column by column.
  std::vector<std::vector<std::string>> items;
  // The pane's "Shell DocObject View" with its "Internet Explorer_Server".
  bool paneChildren = true;
};

// What the player answers.
struct Scenario {
  int version = 0x5000;
  std::vector<std::string> playlist;
  int playingPosition = 0;
  // The playlist positions reported when the plug-in asks for the selection.
  std::vector<int> selection;
  // Sample rate in kHz, bit rate in kbit/s, channels.
  std::array<int, 3> streamProperties{};
  // (file name, key) -> value of the extended file information.
  std::map<std::pair<std::string, std::string>, std::string> fileInfo;
  // Copied into the plug-in's buffer as the player does: at most the
  // buffer's size, with no terminator when it fills the buffer.
  std::string skinFolder;
  std::optional<SkinBitmap> skinBitmap;
  LRESULT hotkeyMessage = 0x10123;
  // Query text -> the files the library finds.
  std::map<std::string, std::vector<std::string>> libraryFiles;
  // Any other query is parsed and finds the tracks whose values equal all
  // its conditions: field = "value", joined by " AND ", a quote inside a
  // value written twice.
  std::vector<LibraryTrack> library;
  // A library that finds more results than it was asked for.
  bool libraryIgnoresMaximum = false;
  // A player that answers 0 to every query.
  bool answersNothing = false;
};

// What the player was told.
struct Received {
  std::vector<std::string> openedUrls;
  // WM_COMMAND identifiers that reached the main window.
  std::vector<WORD> commands;
  int keepPageRequests = 0;
  int focusGained = 0;
  // wParam of each hotkey registration posted to the main window.
  std::vector<WPARAM> hotkeyRecords;
  std::vector<std::string> libraryQueries;
  int libraryQueriesFreed = 0;
  // The library's requests (message 1792) that reached the pane's own
  // procedure, and the no-operation messages that came instead.
  int paneRequests = 0;
  int paneNoOperations = 0;
};

enum class LibraryWindow { None, Gen, RootWnd };

struct Layout {
  bool playlistWindow = true;
  LibraryWindow library = LibraryWindow::Gen;
};

class StandinHost {
 public:
  explicit StandinHost(Layout layout = {});
  ~StandinHost();
  StandinHost(const StandinHost&) = delete;
  StandinHost& operator=(const StandinHost&) = delete;

  // Loads the DLL and takes its record; false when either fails.
  bool load();
  // Fills the three host fields and calls init.
  int init();
  void quit();
  // Quits and frees the DLL, as the player does when it closes.
  void unload();

  host::PluginRecord* record() const { return record_; }
  HWND mainWindow() const { return mainWindow_; }
  HWND playlistWindow() const { return playlistWindow_; }
  HWND libraryWindow() const { return libraryFrame_; }
  HWND libraryParent() const { return libraryParent_; }
  HMODULE module() const { return module_; }

  Scenario& scenario() { return scenario_; }
  const Received& received() const { return received_; }
  // The last generic skin bitmap handed out; the plug-in owns and deletes it.
  HBITMAP lastSkinBitmap() const { return lastSkinBitmap_; }

  // What the player does around a song change: it retitles its main window
  // (8-bit text), its timers fire, and the command that resets the change.
  void setTitle(const std::string& title);
  void fireTimer(UINT_PTR id);
  void resetSongChange();
  void showLibrary(bool visible);
  // Delivers what was posted to this thread's windows.
  void pumpMessages();

  // The Media Library: a view picked in its tree replaces the list and the
  // pane; the frame moves; a click in the tree (button down, then a move);
  // a click in the list with that item selected (or none), after which the
  // library sends its pane its own request, as after every click.
  void openLibraryView(const LibraryView& view);
  void moveLibrary();
  void clickTree();
  void clickLibraryItem(std::optional<int> selected);
  HWND libraryList() const { return list_; }
  HWND libraryPane() const { return pane_; }
  HWND libraryTree() const { return tree_; }
  StandinDocument& document() { return document_; }
  // The addresses the pane's browser was sent to.
  const std::vector<std::wstring>& navigations() const { return browser_.navigations; }

  // The procedures of the player's windows.
  LRESULT onMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onPlaylistMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onLibraryMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onPaneMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onBrowserWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT answerQuery(WPARAM wParam, LPARAM code);
  std::vector<std::string> findInLibrary(std::string_view query) const;
  void closeLibraryView();
  HBITMAP createSkinBitmap();

  Scenario scenario_;
  Received received_;
  HBITMAP lastSkinBitmap_ = nullptr;
  // The library's results between running a query and freeing them.
  std::vector<std::array<const char*, 4>> libraryResults_;
  std::vector<std::string> libraryFound_;
  HWND mainWindow_ = nullptr;
  HWND playlistWindow_ = nullptr;
  HWND libraryFrame_ = nullptr;
  HWND libraryParent_ = nullptr;
  HWND tree_ = nullptr;
  HWND listParent_ = nullptr;
  HWND list_ = nullptr;
  HWND otherLists_[2] = {};
  HWND pane_ = nullptr;
  StandinBrowser browser_;
  StandinDocument document_{browser_};
  HMODULE module_ = nullptr;
  host::PluginRecord* record_ = nullptr;
  bool initialised_ = false;
};

// The folder of this program, with a trailing backslash.
std::wstring programFolder();

}  // namespace tunora::standin
