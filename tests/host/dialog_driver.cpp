#include "dialog_driver.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace tunora::standin {
namespace {

struct Pending {
  std::string title;
  const std::function<void(HWND)>* steps = nullptr;
  HWND dialog = nullptr;
  bool running = false;
  DialogRun result;
};
Pending* pending = nullptr;

HWND findDialog(const std::string& title, HWND except) {
  HWND found = nullptr;
  while ((found = FindWindowExA(nullptr, found, "#32770", title.c_str())) != nullptr)
    if (found != except && IsWindowVisible(found)) return found;
  return nullptr;
}

void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (pending == nullptr) return;
  if (pending->running) {
    // A second dialog's own loop: close it, so that the steps go on.
    if (const HWND second = findDialog(pending->title, pending->dialog)) {
      ++pending->result.secondDialogs;
      SendMessageA(second, WM_COMMAND, IDCANCEL, 0);
    }
    return;
  }
  if (pending->steps == nullptr) return;
  pending->dialog = findDialog(pending->title, nullptr);
  if (pending->dialog == nullptr) return;
  pending->running = true;
  pending->result.found = true;
  (*pending->steps)(pending->dialog);
  // Steps that stopped early (a failed assertion) leave the dialog open: close
  // it, or the test would wait in its loop for ever.
  if (IsWindow(pending->dialog) && IsWindowVisible(pending->dialog))
    SendMessageA(pending->dialog, WM_CLOSE, 0, 0);
  pending->running = false;
  pending->dialog = nullptr;
  // Nothing more to do: later ticks of this run find no dialog to act on.
  pending->steps = nullptr;
}

}  // namespace

DialogRun whileDialogOpen(const std::string& title, const std::function<void(HWND)>& steps,
                          const std::function<void()>& open) {
  Pending state{title, &steps, nullptr, false, {}};
  Pending* outer = std::exchange(pending, &state);
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, onTimer);
  open();
  KillTimer(nullptr, timer);
  pending = outer;
  return state.result;
}

void click(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool waitUntilEnabled(HWND dialog, int id, DWORD limitMs) {
  const DWORD start = GetTickCount();
  MSG message;
  while (!IsWindowEnabled(GetDlgItem(dialog, id))) {
    if (GetTickCount() - start > limitMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return true;
}

std::string controlText(HWND dialog, int id) {
  char text[1024] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

bool saveWindowPicture(HWND window, const std::filesystem::path& path) {
  // Everything drawn, the frame too, before the screen is read.
  RedrawWindow(window, nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const DWORD until = GetTickCount() + 500;
  MSG message;
  while (GetTickCount() < until) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
  // The client area: without a window manager nobody draws the caption.
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as bitmap files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const std::uint32_t rowSize = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
  file.bfSize = file.bfOffBits + imageSize;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
  out.write(static_cast<const char*>(bits), imageSize);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return static_cast<bool>(out);
}

}  // namespace tunora::standin
