#pragma once
// The settings in the registry of the current user, under one key that the
// first save creates (non-volatile, class "Template"). Names and texts are
// 8-bit, as the plug-in has always stored them.

#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace tunora::host {

inline constexpr std::string_view kSettingsKeyPath = "Software\\Winamp\\ml_tunora";

class RegistrySettingsStore : public SettingsStore {
 public:
  // `keyPath` below HKEY_CURRENT_USER; tests pass a key of their own.
  explicit RegistrySettingsStore(std::string keyPath = std::string(kSettingsKeyPath))
      : keyPath_(std::move(keyPath)) {}

  // Opened with query rights only.
  std::unique_ptr<SettingsReader> openForReading() const override;
  // Created or opened with all rights.
  std::unique_ptr<SettingsWriter> createForWriting() override;

 private:
  std::string keyPath_;
};

}  // namespace tunora::host
