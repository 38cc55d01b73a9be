#pragma once
// The seam between the settings and where they are kept: one key of named
// values, opened for reading or created for writing. The plug-in keeps them
// in the registry; tests and the command-line tool keep them in memory.
//
// A store hands out a value's bytes exactly as far as they are stored, so a
// text without its terminator or a value of another type never leads a read
// past its end; the text and byte rules below are shared by every store.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// How a value is stored: a text with its terminator, or raw bytes.
enum class SettingsValueKind { Text, Binary };

// An open key for reading; closed when destroyed.
class SettingsReader {
 public:
  virtual ~SettingsReader() = default;

  // The stored bytes of a value of any kind; nothing when it is missing or
  // holds more than `capacity` bytes.
  virtual std::optional<std::vector<std::uint8_t>> readValue(std::string_view name,
                                                             std::size_t capacity) const = 0;

  // A text that fits `capacity` bytes with its terminator: the bytes up to
  // the first NUL. Nothing when the value is missing or does not fit, also
  // when it is stored without terminator and fills the whole room.
  std::optional<std::string> readText(std::string_view name, std::size_t capacity) const;
  // A value of exactly one byte; nothing when it is missing, empty or longer.
  std::optional<std::uint8_t> readByte(std::string_view name) const;
};

// An open key for writing; closed when destroyed.
class SettingsWriter {
 public:
  virtual ~SettingsWriter() = default;

  virtual bool writeValue(std::string_view name, SettingsValueKind kind,
                          std::span<const std::uint8_t> bytes) = 0;

  // The text with its terminator.
  bool writeText(std::string_view name, std::string_view text);
  bool writeByte(std::string_view name, std::uint8_t value);
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Nothing when the key does not exist (the first run) or cannot be opened.
  virtual std::unique_ptr<SettingsReader> openForReading() const = 0;
  // Creates the key or opens the existing one; nothing when neither works.
  virtual std::unique_ptr<SettingsWriter> createForWriting() = 0;
};

}  // namespace tunora
