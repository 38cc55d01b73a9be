#pragma once
// One window of the player's with our procedure in front of its own. The
// destructor gives the window its procedure back, but only where the window
// still exists and still carries ours: a procedure another plug-in put in
// front of ours since then stays, and no window of the player is left
// pointing into this DLL once it is unloaded.

#include <windows.h>

namespace tunora::host {

class WindowSubclass {
 public:
  // Puts `procedure` in front of the window's own; nothing when `window` is null.
  WindowSubclass(HWND window, WNDPROC procedure);
  ~WindowSubclass();
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  HWND window() const { return window_; }
  bool installed() const { return previous_ != nullptr; }
  // Hands the message on to the procedure that was in front of ours. It is
  // kept with the window, so that a procedure of ours that could not be taken
  // out (another was put in front of it) still passes every message on.
  static LRESULT callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND window_;
  WNDPROC procedure_;
  WNDPROC previous_ = nullptr;
};

}  // namespace tunora::host
