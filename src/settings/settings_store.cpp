#include "settings/settings_store.h"

#include <algorithm>

namespace tunora {

std::optional<std::string> SettingsReader::readText(std::string_view name,
                                                    std::size_t capacity) const {
  const auto bytes = readValue(name, capacity);
  if (!bytes) return std::nullopt;
  const auto end = std::find(bytes->begin(), bytes->end(), std::uint8_t{0});
  // An unterminated value that fills the room leaves none for the terminator.
  if (end == bytes->end() && bytes->size() >= capacity) return std::nullopt;
  return std::string(bytes->begin(), end);
}

std::optional<std::uint8_t> SettingsReader::readByte(std::string_view name) const {
  const auto bytes = readValue(name, 1);
  if (!bytes || bytes->empty()) return std::nullopt;
  return bytes->front();
}

bool SettingsWriter::writeText(std::string_view name, std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return writeValue(name, SettingsValueKind::Text, bytes);
}

bool SettingsWriter::writeByte(std::string_view name, std::uint8_t value) {
  const std::uint8_t bytes[] = {value};
  return writeValue(name, SettingsValueKind::Binary, bytes);
}

}  // namespace tunora
