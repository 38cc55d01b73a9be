#include "host/window_subclass.h"

namespace tunora::host {

// The ANSI entry points: the player's messages carry 8-bit texts, and a
// window title is compared byte by byte.
WindowSubclass::WindowSubclass(HWND window, WNDPROC procedure)
    : window_(window), procedure_(procedure) {
  if (window_ == nullptr || !IsWindow(window_)) return;
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure_)));
}

WindowSubclass::~WindowSubclass() {
  if (previous_ == nullptr || !IsWindow(window_)) return;
  const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC));
  if (current == procedure_)
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
}

LRESULT WindowSubclass::callPrevious(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) const {
  if (previous_ == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(previous_, window, message, wParam, lParam);
}

}  // namespace tunora::host
