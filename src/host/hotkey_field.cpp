#include "host/hotkey_field.h"

#include <vector>

namespace tunora::host {
namespace {

constexpr wchar_t kFieldObject[] = L"tunora.hotkeyField";
// The field keeps at most eight characters of a chord.
constexpr std::size_t kFieldCapacity = 9;

bool isDigitOrLetter(UINT key) {
  return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
}

}  // namespace

// The object is reachable from the window before the procedure can be called.
HotkeyField::HotkeyField(HWND field)
    : field_((SetPropW(field, kFieldObject, this), field)), subclass_(field, procedure) {}

HotkeyField::~HotkeyField() {
  if (IsWindow(field_)) RemovePropW(field_, kFieldObject);
}

LRESULT CALLBACK HotkeyField::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* field = static_cast<HotkeyField*>(GetPropW(window, kFieldObject));
  const auto key = static_cast<UINT>(wParam);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!isDigitOrLetter(key) && (key < VK_SHIFT || key > VK_MENU) && key != VK_LWIN) break;
      if (field != nullptr) {
        if (message == WM_KEYDOWN) field->onKeyDown(key);
        if (message == WM_SYSKEYDOWN) field->onSystemKeyDown(key);
        if (message == WM_KEYUP) field->onKeyUp(key);
        if (message == WM_SYSKEYUP) field->onSystemKeyUp(key);
      }
      // The edit control itself sees no key of a chord.
      return WindowSubclass::callPrevious(window, message, 0, lParam);
    case WM_CHAR:
      return WindowSubclass::callPrevious(window, message, 0, lParam);
    default:
      break;
  }
  return WindowSubclass::callPrevious(window, message, wParam, lParam);
}

void HotkeyField::onKeyDown(UINT key) {
  if (isDigitOrLetter(key)) {
    // The last held modifier in this order names the chord.
    std::string text;
    for (const auto& [held, prefix] :
         {std::pair{shift_, "SHIFT+"}, std::pair{control_, "CTRL+"}, std::pair{windows_, "WIN+"}}) {
      if (!held) continue;
      text = prefix;
      combined_ = true;
    }
    showChord(std::move(text), key);
  } else if (key == VK_SHIFT) {
    holdModifier(shift_, "SHIFT+");
  } else if (key == VK_CONTROL) {
    holdModifier(control_, "CTRL+");
  } else if (key == VK_LWIN) {
    holdModifier(windows_, "WIN+");
  }
}

void HotkeyField::onSystemKeyDown(UINT key) {
  if (isDigitOrLetter(key)) {
    std::string text;
    if (alt_) {
      text = "ALT+";
      combined_ = true;
    }
    showChord(std::move(text), key);
  } else if (key == VK_MENU) {
    holdModifier(alt_, "ALT+");
  }
}

void HotkeyField::onKeyUp(UINT key) {
  if (key != VK_SHIFT && key != VK_CONTROL && key != VK_LWIN) return;
  shift_ = control_ = windows_ = false;
  restoreUnlessCombined();
}

void HotkeyField::onSystemKeyUp(UINT key) {
  if (key != VK_MENU) return;
  alt_ = false;
  restoreUnlessCombined();
}

void HotkeyField::holdModifier(bool& mark, const char* prefix) {
  if (mark) return;  // the key repeats while held
  std::vector<char> text(kFieldCapacity, '\0');
  GetWindowTextA(field_, text.data(), static_cast<int>(text.size()));
  saved_ = text.data();
  mark = true;
  combined_ = false;
  SetWindowTextA(field_, prefix);
}

void HotkeyField::showChord(std::string text, UINT key) {
  if (!combined_) return;
  text += static_cast<char>(key);
  SetWindowTextA(field_, text.c_str());
}

void HotkeyField::restoreUnlessCombined() {
  if (!combined_) SetWindowTextA(field_, saved_.c_str());
}

}  // namespace tunora::host
