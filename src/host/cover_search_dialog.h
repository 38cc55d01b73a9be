#pragma once
// The Cover-Search dialog's window: it reads its controls, hands the work to
// CoverSearch and shows the answers. One dialog at a time, modal, owned by
// the player's main window; the hotkey closes it from outside. The network
// part of a search or a selection runs on a worker thread, so that the
// dialog and the player stay responsive; Exit aborts the transfer.

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "coversearch/cover_search.h"
#include "coversearch/cover_search_settings.h"
#include "host/gdi_objects.h"
#include "settings/settings_store.h"

namespace tunora::host {

// What the dialog starts from: the track of the last page, 8-bit.
struct CoverSearchTrack {
  std::string artist;
  std::string album;
  std::string fileName;
  std::string coverNamePattern;
};

// What the dialog asks of the desktop, replaceable in tests.
struct CoverSearchDesktop {
  // The save dialog: a file name, or nothing when cancelled.
  std::function<std::optional<std::string>(const std::optional<std::string>& folder,
                                           const std::string& suggested)>
      askSaveFileName;
  // The shell's verb ("open", "edit") on a page address or a file.
  std::function<void(const char* verb, const std::string& target)> shellExecute;
};
CoverSearchDesktop systemDesktop();

class CoverSearchDialog {
 public:
  // The hosts, the services and the source last used are read from
  // `settings` at every opening and written back at Exit.
  CoverSearchDialog(HINSTANCE module, HttpClient& client, SettingsStore& settings,
                    CoverSearchDesktop desktop = systemDesktop(),
                    std::chrono::milliseconds musicBrainzSpacing = std::chrono::seconds(1));
  ~CoverSearchDialog();
  CoverSearchDialog(const CoverSearchDialog&) = delete;
  CoverSearchDialog& operator=(const CoverSearchDialog&) = delete;

  bool isOpen() const { return open_; }
  // A search or a selection is under way on the worker thread.
  bool isBusy() const { return worker_.joinable(); }
  // Runs the dialog until Exit; does nothing while it is open.
  void run(HWND owner, const CoverSearchTrack& track);
  // Presses Exit of the open dialog.
  void close();
  // The hotkey's toggle: closes the open dialog, or opens one.
  void toggle(HWND owner, const CoverSearchTrack& track);

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void onInit(HWND window);
  void onCommand(WORD id, WORD code);
  void onSearch();
  void onSelectionChange();
  void onOpenPage();
  void onSave(bool thenEdit);
  void onExit();
  // Runs `work` on the worker thread, then `done` here once it posted back.
  void startWork(std::function<void()> work, std::function<void()> done);
  void onWorkDone();
  // Ends the transfer under way and waits for the worker.
  void stopWork();
  void enableSearching(bool enable);
  std::string storeText() const;
  void setStatus(std::string_view text);
  void enableCoverButtons(bool enable);
  void showPicture(const DecodedPicture* cover);

  HINSTANCE module_;
  HttpClient& client_;
  SettingsStore& settingsStore_;
  std::chrono::milliseconds musicBrainzSpacing_;
  CoverSearchSettings settings_;
  // One search for each opening of the dialog.
  std::optional<CoverSearch> search_;
  CoverSearchDesktop desktop_;
  bool open_ = false;
  HWND window_ = nullptr;
  CoverSearchTrack track_;
  std::string suggestedName_;
  std::optional<std::string> startFolder_;
  UniqueBitmap picture_;
  std::thread worker_;
  std::function<void()> whenDone_;
  // What the worker found, read here after it posted back.
  std::string searchStatus_;
  CoverSearch::Selection selection_;
};

}  // namespace tunora::host
