#pragma once
// A memory store that also lists the values written to it, in order, so the
// tests can compare what lands in the store with what the plug-in's earlier
// registry values hold.

#include <string>
#include <vector>

#include "settings/memory_settings_store.h"

namespace tunora::testing {

class RecordingStore : public MemorySettingsStore {
 public:
  struct Write {
    std::string name;
    SettingsValueKind kind;
    std::vector<std::uint8_t> bytes;
    bool operator==(const Write&) const = default;
  };

  std::unique_ptr<SettingsWriter> createForWriting() override {
    class Recorder : public SettingsWriter {
     public:
      Recorder(RecordingStore& store, std::unique_ptr<SettingsWriter> inner)
          : store_(store), inner_(std::move(inner)) {}
      bool writeValue(std::string_view name, SettingsValueKind kind,
                      std::span<const std::uint8_t> bytes) override {
        store_.writes.push_back({std::string(name), kind, {bytes.begin(), bytes.end()}});
        return inner_->writeValue(name, kind, bytes);
      }

     private:
      RecordingStore& store_;
      std::unique_ptr<SettingsWriter> inner_;
    };
    return std::make_unique<Recorder>(*this, MemorySettingsStore::createForWriting());
  }

  void putText(std::string name, std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    put(std::move(name), SettingsValueKind::Text, std::move(bytes));
  }
  void putBytes(std::string name, std::vector<std::uint8_t> bytes) {
    put(std::move(name), SettingsValueKind::Binary, std::move(bytes));
  }

  std::vector<Write> writes;
};

inline RecordingStore::Write textWrite(std::string name, std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return {std::move(name), SettingsValueKind::Text, std::move(bytes)};
}

inline RecordingStore::Write byteWrite(std::string name, std::uint8_t value) {
  return {std::move(name), SettingsValueKind::Binary, {value}};
}

}  // namespace tunora::testing
