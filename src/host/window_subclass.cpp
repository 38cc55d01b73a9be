#include "host/window_subclass.h"

#include <commctrl.h>

#include "host/module_file_name.h"

namespace tunora::host {
namespace {

// The one procedure the chain calls; the data names our procedure for the
// window. The system's chain gives Unicode messages: it converts what an
// 8-bit window of the player sends, and a title is turned back into the
// player's 8-bit form where it is compared.
LRESULT CALLBACK chained(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR procedure) {
  return reinterpret_cast<WNDPROC>(procedure)(window, message, wParam, lParam);
}

UINT_PTR idOf(WNDPROC procedure) {
  return reinterpret_cast<UINT_PTR>(procedure);
}

}  // namespace

WindowSubclass::WindowSubclass(HWND window, WNDPROC procedure)
    : window_(window), procedure_(procedure) {
  if (window_ == nullptr || !IsWindow(window_)) return;
  installed_ = SetWindowSubclass(window_, chained, idOf(procedure_),
                                 reinterpret_cast<DWORD_PTR>(procedure_)) != FALSE;
  if (installed_) chainProcedure_ = GetWindowLongPtrW(window_, GWLP_WNDPROC);
}

WindowSubclass::~WindowSubclass() {
  if (!installed_ || !IsWindow(window_)) return;
  if (GetWindowLongPtrW(window_, GWLP_WNDPROC) == chainProcedure_) {
    RemoveWindowSubclass(window_, chained, idOf(procedure_));
    return;
  }
  keepThisModuleLoaded();
}

LRESULT WindowSubclass::callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace tunora::host
