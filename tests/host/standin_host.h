#pragma once
// The player's side for the tests: its main window (class "Winamp v1.x"), the
// library's parent window, and the plug-in loaded from plugins\ml_tunora.dll
// beside this program, as the player lays it out.

#include <windows.h>

#include <string>

#include "host/plugin_record.h"

namespace tunora::standin {

class StandinHost {
 public:
  StandinHost();
  ~StandinHost();
  StandinHost(const StandinHost&) = delete;
  StandinHost& operator=(const StandinHost&) = delete;

  // Loads the DLL and takes its record; false when either fails.
  bool load();
  // Fills the three host fields and calls init.
  int init();
  void quit();

  host::PluginRecord* record() const { return record_; }
  HWND mainWindow() const { return mainWindow_; }
  HWND libraryParent() const { return libraryParent_; }
  HMODULE module() const { return module_; }

 private:
  HWND mainWindow_ = nullptr;
  HWND libraryFrame_ = nullptr;
  HWND libraryParent_ = nullptr;
  HMODULE module_ = nullptr;
  host::PluginRecord* record_ = nullptr;
  bool initialised_ = false;
};

// The folder of this program, with a trailing backslash.
std::wstring programFolder();

}  // namespace tunora::standin
