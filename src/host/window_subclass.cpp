#include "host/window_subclass.h"

namespace tunora::host {
namespace {

constexpr wchar_t kPreviousProcedure[] = L"tunora.previousProcedure";

}  // namespace

// The Unicode entry points: the system converts what an 8-bit window of the
// player sends, and a title is turned back into the player's 8-bit form
// where it is compared.
WindowSubclass::WindowSubclass(HWND window, WNDPROC procedure)
    : window_(window), procedure_(procedure) {
  if (window_ == nullptr || !IsWindow(window_)) return;
  previous_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
  // The previous procedure is in place before ours can be called.
  SetPropW(window_, kPreviousProcedure, reinterpret_cast<HANDLE>(previous_));
  if (SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure_)) == 0) {
    RemovePropW(window_, kPreviousProcedure);
    previous_ = nullptr;
  }
}

WindowSubclass::~WindowSubclass() {
  if (previous_ == nullptr || !IsWindow(window_)) return;
  const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
  if (current != procedure_) return;
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  RemovePropW(window_, kPreviousProcedure);
}

LRESULT WindowSubclass::callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcedure));
  if (previous == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace tunora::host
