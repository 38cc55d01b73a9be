#pragma once
// The record the player's Media Library takes from the plug-in: eight 32-bit
// fields in a fixed order. The host fills the last three before init.

#include <windows.h>

#include <cstddef>

namespace tunora::host {

inline constexpr int kPluginInterfaceVersion = 0x15;
inline constexpr char kPluginDescription[] = "Tunora-Plugin v" TUNORA_VERSION;

struct PluginRecord {
  int version;
  const char* description;
  int(__cdecl* init)();
  void(__cdecl* quit)();
  INT_PTR(__cdecl* messageProc)(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3);
  HWND hostMainWindow;
  HWND libraryParentWindow;
  HINSTANCE moduleInstance;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PluginRecord) == 32, "the host reads eight 32-bit fields");
static_assert(offsetof(PluginRecord, description) == 4);
static_assert(offsetof(PluginRecord, init) == 8);
static_assert(offsetof(PluginRecord, quit) == 12);
static_assert(offsetof(PluginRecord, messageProc) == 16);
static_assert(offsetof(PluginRecord, hostMainWindow) == 20);
static_assert(offsetof(PluginRecord, libraryParentWindow) == 24);
static_assert(offsetof(PluginRecord, moduleInstance) == 28);
#endif

}  // namespace tunora::host

// The one function the host looks up in the DLL.
extern "C" __declspec(dllexport) tunora::host::PluginRecord* __cdecl winampGetMediaLibraryPlugin();
