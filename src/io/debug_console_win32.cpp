#include <windows.h>

#include <string_view>

#include "io/debug_console.h"
#include "text/debug_log.h"

namespace tunora {
namespace {

HANDLE consoleHandle = nullptr;

bool writeToConsole(std::string_view text) {
  if (consoleHandle == nullptr) return false;
  DWORD written = 0;
  WriteConsoleA(consoleHandle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return true;
}

}  // namespace

bool openDebugConsole() {
  AllocConsole();
  SetConsoleTitleW(L"Debug Window");
  consoleHandle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (consoleHandle == INVALID_HANDLE_VALUE) consoleHandle = nullptr;
  setDebugLogConsole(writeToConsole);
  return consoleHandle != nullptr &&
         SetConsoleScreenBufferSize(consoleHandle, COORD{80, 2000}) != 0;
}

}  // namespace tunora
