#pragma once
// One window of the player's with our procedure in front of its own, through
// the system's subclass chain (SetWindowSubclass). Taking ours out again is
// safe while the chain's own procedure is still the window's. Where another
// plug-in has since set a procedure of its own in front, the system would
// put the window's first procedure back over theirs (some versions do), so
// ours stays in the chain, passing every message on, and this module stays
// loaded: no window of the player is ever left pointing into an unloaded DLL.

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
  bool installed() const { return installed_; }
  // Hands the message on to the next procedure of the chain; only from
  // within a procedure installed here. A procedure of ours that outlives
  // the plug-in does only this.
  static LRESULT callPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND window_;
  WNDPROC procedure_;
  // The window's procedure once ours was in the chain: the chain's own.
  LONG_PTR chainProcedure_ = 0;
  bool installed_ = false;
};

}  // namespace tunora::host
