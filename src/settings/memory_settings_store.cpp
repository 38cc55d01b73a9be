#include "settings/memory_settings_store.h"

namespace tunora {
namespace {

class MemoryReader : public SettingsReader {
 public:
  explicit MemoryReader(const MemorySettingsStore::Values& values) : values_(values) {}
  std::optional<std::vector<std::uint8_t>> readValue(std::string_view name,
                                                     std::size_t capacity) const override {
    const auto found = values_.find(name);
    if (found == values_.end() || found->second.bytes.size() > capacity) return std::nullopt;
    return found->second.bytes;
  }

 private:
  const MemorySettingsStore::Values& values_;
};

class MemoryWriter : public SettingsWriter {
 public:
  explicit MemoryWriter(MemorySettingsStore::Values& values) : values_(values) {}
  bool writeValue(std::string_view name, SettingsValueKind kind,
                  std::span<const std::uint8_t> bytes) override {
    values_.insert_or_assign(std::string(name),
                             StoredSettingsValue{kind, {bytes.begin(), bytes.end()}});
    return true;
  }

 private:
  MemorySettingsStore::Values& values_;
};

}  // namespace

std::unique_ptr<SettingsReader> MemorySettingsStore::openForReading() const {
  if (!key_) return nullptr;
  return std::make_unique<MemoryReader>(*key_);
}

std::unique_ptr<SettingsWriter> MemorySettingsStore::createForWriting() {
  if (!key_) key_.emplace();
  return std::make_unique<MemoryWriter>(*key_);
}

void MemorySettingsStore::put(std::string name, SettingsValueKind kind,
                              std::vector<std::uint8_t> bytes) {
  if (!key_) key_.emplace();
  key_->insert_or_assign(std::move(name), StoredSettingsValue{kind, std::move(bytes)});
}

}  // namespace tunora
