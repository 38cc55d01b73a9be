#pragma once
// The core's questions answered by the player the plug-in runs in.

#include <windows.h>

#include "hostlink/host_link.h"

namespace tunora::host {

class PlayerHostLink : public HostLink {
 public:
  // The folder of the player's executable (the module that owns its main
  // window, lower-cased) + "plugins\ml_tunora\".
  std::optional<std::u16string> coverFolder() const override;
};

// The top-level window of class "Winamp v1.x", or null.
HWND findPlayerWindow();

}  // namespace tunora::host
