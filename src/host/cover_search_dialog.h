#pragma once
// The Cover-Search dialog's window: it reads its controls, hands the work to
// CoverSearch and shows the answers. One dialog at a time, modal, owned by
// the player's main window; the hotkey closes it from outside.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "coversearch/cover_search.h"
#include "host/gdi_objects.h"

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
  CoverSearchDialog(HINSTANCE module, HttpClient& client, StoreHosts hosts,
                    CoverSearchDesktop desktop = systemDesktop());
  CoverSearchDialog(const CoverSearchDialog&) = delete;
  CoverSearchDialog& operator=(const CoverSearchDialog&) = delete;

  bool isOpen() const { return open_; }
  const StoreHosts& hosts() const { return search_.hosts(); }
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
  std::string storeText() const;
  void setStatus(std::string_view text);
  void enableCoverButtons(bool enable);
  void showPicture(const std::string& bitmapFile);

  HINSTANCE module_;
  CoverSearch search_;
  CoverSearchDesktop desktop_;
  bool open_ = false;
  HWND window_ = nullptr;
  CoverSearchTrack track_;
  std::string suggestedName_;
  std::optional<std::string> startFolder_;
  UniqueBitmap picture_;
};

}  // namespace tunora::host
