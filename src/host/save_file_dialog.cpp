#include "host/save_file_dialog.h"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <cstring>
#include <utility>
#include <vector>

namespace tunora::host {
namespace {

// The save dialog while it is open. A common dialog runs a loop of its own,
// and EndDialog from outside does not end it; its window is found as it is
// made, by a hook on this thread's window creation, and told Cancel.
HWND openDialog = nullptr;

LRESULT CALLBACK watchCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && openDialog == nullptr) {
    const auto window = reinterpret_cast<HWND>(wParam);
    const auto* created = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
    char className[8] = {};
    // The first top-level dialog window made is the save dialog itself.
    if (!(created->lpcs->style & WS_CHILD) &&
        GetClassNameA(window, className, sizeof className) > 0 &&
        std::strcmp(className, "#32770") == 0)
      openDialog = window;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class CreationWatch {
 public:
  CreationWatch()
      : hook_(SetWindowsHookExA(WH_CBT, watchCreation, nullptr, GetCurrentThreadId())),
        outer_(std::exchange(openDialog, nullptr)) {}
  ~CreationWatch() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    openDialog = outer_;
  }
  CreationWatch(const CreationWatch&) = delete;
  CreationWatch& operator=(const CreationWatch&) = delete;

 private:
  HHOOK hook_;
  // A save dialog further out, should one open another.
  HWND outer_;
};

}  // namespace

std::optional<std::string> askSaveFileName(const std::optional<std::string>& folder,
                                           const std::string& suggested) {
  return askSaveFileNameWithin(folder, suggested, kSaveNameCapacity, [](const char* why) {
    MessageBoxA(GetActiveWindow(), why, "Tunora-Plugin", MB_OK | MB_ICONWARNING);
  });
}

std::optional<std::string> askSaveFileNameWithin(
    const std::optional<std::string>& folder, const std::string& suggested, std::size_t capacity,
    const std::function<void(const char* why)>& refuse) {
  // Both texts keep their own terminators: the filter is a list of pairs.
  constexpr char kFilter[] = "JPG-File (*.jpg)\0*.jpg\0All Files (*.*)\0*.*\0";
  std::vector<char> name(capacity, '\0');
  // A suggestion cut to the field would name another file.
  if (suggested.size() < capacity && suggested.find('\0') == std::string::npos)
    suggested.copy(name.data(), suggested.size());
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = folder ? folder->c_str() : nullptr;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
  const CreationWatch watch;
  if (GetSaveFileNameA(&dialog)) return std::string(name.data());
  // The dialog ends without a name when the chosen one does not fit.
  if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL && refuse)
    refuse("The chosen file name is too long. Please choose a shorter one.");
  return std::nullopt;
}

void endSaveFileDialog() {
  if (openDialog != nullptr) SendMessageA(openDialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace tunora::host
