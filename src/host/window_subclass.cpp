#include "host/window_subclass.h"

namespace tunora::host {

// The Unicode entry points: the system converts what an 8-bit window of the
// player sends, and a title is turned back into the player's 8-bit form
// where it is compared.
WindowSubclass::WindowSubclass(HWND window, WNDPROC procedure)
    : window_(window), procedure_(procedure) {
  if (window_ == nullptr || !IsWindow(window_)) return;
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure_)));
}

WindowSubclass::~WindowSubclass() {
  if (previous_ == nullptr || !IsWindow(window_)) return;
  const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
  if (current == procedure_)
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
}

LRESULT WindowSubclass::callPrevious(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) const {
  if (previous_ == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(previous_, window, message, wParam, lParam);
}

}  // namespace tunora::host
