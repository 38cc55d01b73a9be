#pragma once
// Everything the plug-in holds from init to quit, in one object: created by
// the record's init procedure and destroyed by its quit procedure. The
// window procedures reach it through Plugin::active() and only translate
// messages; the decisions are the portable code's.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coversearch/http_client.h"
#include "dispatch/page_dispatch.h"
#include "dispatch/song_change_tracker.h"
#include "host/cover_search_dialog.h"
#include "host/internet_session.h"
#include "host/library_windows.h"
#include "host/player_host_link.h"
#include "host/playlist_menu.h"
#include "host/plugin_record.h"
#include "host/preferences_dialog.h"
#include "host/registry_settings_store.h"
#include "host/system_hotkey.h"
#include "host/window_subclass.h"
#include "htmlcreator/html_creator.h"
#include "htmlcreator/temp_covers.h"
#include "settings/global_settings.h"
#include "settings/page_settings.h"
#include "skin/generic_colour_table.h"
#include "skin/page_colours.h"

namespace tunora::host {

// The player version from which the library frame, the Mini page and the
// player's hotkey service are there.
inline constexpr int kLibraryPlayerVersion = 0x5000;

// The dialog's start as the dialog takes it: the player's 8-bit code page.
CoverSearchTrack coverSearchTrackOf(const CoverSearchStart& start, std::u16string_view coverName);

// The record's init, quit and message procedures. Quit from within a call
// of the player's into the plug-in (a dialog of ours runs its loop further up
// the stack) ends the dialogs at once and the plug-in when that call
// returns; the module then stays loaded until the process ends.
void startPlugin(const PluginRecord& record);
void quitPlugin();
INT_PTR pluginMessage(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3);

class Plugin {
 public:
  // `record` carries the windows and the module instance the player filled in.
  explicit Plugin(const PluginRecord& record);
  // Quits in order: global settings saved, the Mini page files removed, page
  // settings saved and temporary covers deleted, the Internet session closed,
  // every window given its own procedure back.
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // The plug-in between init and quit; null outside.
  static Plugin* active();
  // Ends the open dialogs as their Cancel or Exit does.
  void endDialogs();

  // The player's request through the record's message procedure.
  INT_PTR onPluginMessage(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3);
  LRESULT onMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onPlaylistMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onLibraryFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The plug-in's dialogs: the player's hotkey and toggle messages, the
  // playlist menu and the player's configuration request open or close them.
  std::function<void()> toggleCoverSearch;
  std::function<void()> togglePreferences;
  std::function<void()> openCoverSearch;
  // Opens the preferences owned by the given window.
  std::function<void(HWND owner)> openPreferences;

  // A page about the playing file (no files) or the given files.
  void updatePage(std::vector<std::u16string> files, bool directoryMode);
  // The playlist menu's "Show Details in Minibrowser" and "Show Details (Directory)".
  void showSelected();
  void showDirectory();
  // The Mini page of the library item just clicked, in the library's pane.
  void showMiniPage();

  const GlobalSettings& globalSettings() const { return globalSettings_; }
  const PageSettings& pageSettings() const { return pageSettings_; }
  const std::optional<std::u16string>& miniPageFile() const { return miniPageFile_; }
  PreferencesDialog& preferences() { return *preferences_; }
  const SystemHotkey& systemHotkey() const { return systemHotkey_; }
  HINTERNET internet() const { return internet_ ? internet_->handle() : nullptr; }
  // What the cover search starts from: the track of the last page.
  const std::optional<CoverSearchStart>& coverSearchStart() const { return coverSearchStart_; }

 private:
  DispatchContext dispatchContext() const;
  // The track of the last page, as the cover search starts from it.
  CoverSearchTrack coverSearchTrack() const;
  void onSongSettled();
  void onPlayerMessage(WPARAM wParam, LPARAM lParam);
  // Colours from the skin, then the page, then the focus back to the player.
  void buildAndShow(const std::function<PageResult()>& build);
  void show(const PageResult& page);
  std::vector<std::u16string> collectSelection();
  void makePreferences();
  void makeMiniPageFile();
  void removeMiniPageFiles();

  HWND mainWindow_;
  HWND libraryParent_;
  HINSTANCE module_;
  int playerVersion_ = 0;
  PlayerHostLink host_;
  std::u16string playerExecutable_;
  RegistrySettingsStore settingsStore_;
  GlobalSettings globalSettings_;
  PageSettings pageSettings_;
  GenericColourTable skinTable_;
  PageColours colours_;
  std::optional<InternetSession> internet_;
  std::unique_ptr<HttpClient> storeClient_;
  std::unique_ptr<CoverSearchDialog> coverSearch_;
  std::unique_ptr<HtmlCreator> creator_;
  std::unique_ptr<TempCovers> tempCovers_;
  std::optional<CoverSearchStart> coverSearchStart_;
  SongChangeTracker songChanges_;
  bool collecting_ = false;
  std::vector<std::u16string> collected_;
  bool menuExtended_ = false;
  // The temporary name that reserved the Mini page's name, and the page itself.
  std::optional<std::u16string> miniPageReservation_;
  std::optional<std::u16string> miniPageFile_;
  SystemHotkey systemHotkey_;
  std::unique_ptr<PreferencesDialog> preferences_;
  std::unique_ptr<LibraryWindows> library_;
  // Last, so that they are taken back first when the plug-in quits.
  std::unique_ptr<WindowSubclass> mainSubclass_;
  std::unique_ptr<WindowSubclass> playlistSubclass_;
  std::unique_ptr<WindowSubclass> libraryFrameSubclass_;
};

}  // namespace tunora::host
