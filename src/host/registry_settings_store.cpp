#include "host/registry_settings_store.h"

#include <windows.h>

#include "host/registry_key.h"

namespace tunora::host {
namespace {

class RegistryReader : public SettingsReader {
 public:
  explicit RegistryReader(RegistryKey key) : key_(std::move(key)) {}

  std::optional<std::vector<std::uint8_t>> readValue(std::string_view name,
                                                     std::size_t capacity) const override {
    std::vector<std::uint8_t> bytes(capacity);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    const LSTATUS status = RegQueryValueExA(key_.get(), std::string(name).c_str(), nullptr, &type,
                                            bytes.empty() ? nullptr : bytes.data(), &size);
    if (status != ERROR_SUCCESS) return std::nullopt;
    // Only what the registry wrote: a value of any type, terminated or not,
    // ends where its data ends.
    bytes.resize(std::min<std::size_t>(size, capacity));
    return bytes;
  }

 private:
  RegistryKey key_;
};

class RegistryWriter : public SettingsWriter {
 public:
  explicit RegistryWriter(RegistryKey key) : key_(std::move(key)) {}

  bool writeValue(std::string_view name, SettingsValueKind kind,
                  std::span<const std::uint8_t> bytes) override {
    const DWORD type = kind == SettingsValueKind::Text ? REG_SZ : REG_BINARY;
    return RegSetValueExA(key_.get(), std::string(name).c_str(), 0, type, bytes.data(),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
  }

 private:
  RegistryKey key_;
};

}  // namespace

std::unique_ptr<SettingsReader> RegistrySettingsStore::openForReading() const {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<RegistryReader>(RegistryKey(key));
}

std::unique_ptr<SettingsWriter> RegistrySettingsStore::createForWriting() {
  HKEY key = nullptr;
  char keyClass[] = "Template";
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<RegistryWriter>(RegistryKey(key));
}

}  // namespace tunora::host
