#pragma once
// The preferences dialog's hotkey field: instead of typing, it shows the
// chord being pressed ("CTRL+A"). A modifier pressed and released alone
// brings back the text it had before; nothing typed reaches the field.

#include <windows.h>

#include <string>

#include "host/window_subclass.h"

namespace tunora::host {

class HotkeyField {
 public:
  // Takes over the messages of `field` for its lifetime.
  explicit HotkeyField(HWND field);
  ~HotkeyField();
  HotkeyField(const HotkeyField&) = delete;
  HotkeyField& operator=(const HotkeyField&) = delete;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void onKeyDown(UINT key);
  void onSystemKeyDown(UINT key);
  void onKeyUp(UINT key);
  void onSystemKeyUp(UINT key);
  void holdModifier(bool& mark, const char* prefix);
  void showChord(std::string text, UINT key);
  void restoreUnlessCombined();

  HWND field_;
  bool shift_ = false;
  bool control_ = false;
  bool windows_ = false;
  bool alt_ = false;
  // A modifier's prefix has been completed with a key.
  bool combined_ = false;
  // The text before a modifier went down.
  std::string saved_;
  WindowSubclass subclass_;
};

}  // namespace tunora::host
