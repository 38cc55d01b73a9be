#pragma once
// Everything the plug-in holds from init to quit, in one object: created by
// the record's init procedure and destroyed by its quit procedure, so that
// the order of quitting is the order of the members' destruction.

#include <windows.h>

#include "host/plugin_record.h"

namespace tunora::host {

class Plugin {
 public:
  // `record` carries the windows and the module instance the player filled in.
  explicit Plugin(const PluginRecord& record);
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // The player's request through the record's message procedure.
  INT_PTR onPluginMessage(int message, INT_PTR param1, INT_PTR param2, INT_PTR param3);

 private:
  HWND mainWindow_;
  HWND libraryParent_;
  HINSTANCE module_;
};

}  // namespace tunora::host
