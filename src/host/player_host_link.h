#pragma once
// The core's questions answered by the player the plug-in runs in, through
// the player's messages (host/host_messages.h).

#include <windows.h>

#include "hostlink/host_link.h"

namespace tunora::host {

class PlayerHostLink : public HostLink {
 public:
  // `mainWindow` is the main window the player named in the plug-in record.
  explicit PlayerHostLink(HWND mainWindow) : mainWindow_(mainWindow) {}

  // The player's executable: the module that owns the window of class
  // "Winamp v1.x"; nothing without one or when its path is too long.
  std::optional<std::u16string> executablePath() const;
  // The folder of the player's executable (the module that owns its main
  // window, lower-cased) + "plugins\ml_tunora\".
  std::optional<std::u16string> coverFolder() const override;

  bool playerPresent() const override;
  // The name of the entry at the playing position, as the player gives it.
  std::optional<std::u16string> playingFile() const override;
  std::uint32_t streamProperty(StreamProperty which) const override;
  std::optional<std::u16string> fileInfo(std::u16string_view file,
                                         std::string_view key) const override;
  std::optional<std::u16string> skinFolder() const override;
  // The raw row of the generic skin bitmap; pixels it lacks are unread.
  std::optional<GenericSkinPixels> genericSkinPixels() const override;

 private:
  HWND mainWindow_;
};

}  // namespace tunora::host
