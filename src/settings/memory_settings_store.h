#pragma once
// A settings store held in memory, for the tests and for tools that keep no
// settings between runs. Values are kept as a registry keeps them: a kind
// and the bytes as written.

#include <map>
#include <optional>

#include "settings/settings_store.h"

namespace tunora {

struct StoredSettingsValue {
  SettingsValueKind kind = SettingsValueKind::Binary;
  std::vector<std::uint8_t> bytes;
};

class MemorySettingsStore : public SettingsStore {
 public:
  using Values = std::map<std::string, StoredSettingsValue, std::less<>>;

  std::unique_ptr<SettingsReader> openForReading() const override;
  std::unique_ptr<SettingsWriter> createForWriting() override;

  // Nothing until the key is created.
  const std::optional<Values>& key() const { return key_; }
  // Creates the key if needed and stores a value as given.
  void put(std::string name, SettingsValueKind kind, std::vector<std::uint8_t> bytes);

 private:
  std::optional<Values> key_;
};

}  // namespace tunora
