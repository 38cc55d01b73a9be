#include "follow/mpris_metadata.h"

#include <systemd/sd-bus.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace tunora {
namespace {

// Each reader is given a message positioned inside the variant, whose
// contents have the reader's type.
bool readString(sd_bus_message* message, std::string& value) {
  const char* text = nullptr;
  // Nothing is assigned unless the read succeeds.
  if (sd_bus_message_read_basic(message, 's', &text) < 0) return false;
  value = text ? text : "";
  return true;
}

bool readStringList(sd_bus_message* message, std::vector<std::string>& values) {
  if (sd_bus_message_enter_container(message, 'a', "s") <= 0) return false;
  std::vector<std::string> read;
  const char* text = nullptr;
  int got = 0;
  while ((got = sd_bus_message_read_basic(message, 's', &text)) > 0) read.emplace_back(text);
  if (got < 0 || sd_bus_message_exit_container(message) < 0) return false;
  values = std::move(read);
  return true;
}

// A number as players send it: the type the interface asks for, but also any
// other integer type. A value outside `Wanted` is none.
template <typename Wanted>
std::optional<Wanted> readInteger(sd_bus_message* message, std::string_view contents) {
  if (contents.size() != 1) return std::nullopt;
  Wanted value = 0;
  const auto read = [&](auto number) -> bool {
    if (sd_bus_message_read_basic(message, contents[0], &number) < 0) return false;
    if (!std::in_range<Wanted>(number)) return false;
    value = static_cast<Wanted>(number);
    return true;
  };
  bool ok = false;
  switch (contents[0]) {
    case 'y':
      ok = read(std::uint8_t{});
      break;
    case 'n':
      ok = read(std::int16_t{});
      break;
    case 'q':
      ok = read(std::uint16_t{});
      break;
    case 'i':
      ok = read(std::int32_t{});
      break;
    case 'u':
      ok = read(std::uint32_t{});
      break;
    case 'x':
      ok = read(std::int64_t{});
      break;
    case 't':
      ok = read(std::uint64_t{});
      break;
    default:
      return std::nullopt;
  }
  if (!ok) return std::nullopt;
  return value;
}

// One metadata value: its key, the variant's contents it accepts and where
// it goes. A single text where players should send a list is taken as a
// one-item list.
bool readValue(sd_bus_message* message, std::string_view key, std::string_view contents,
               PlayerTrack& track) {
  const auto text = [&](std::string& field) {
    return contents == "s" && readString(message, field);
  };
  const auto list = [&](std::vector<std::string>& field) {
    if (contents == "as") return readStringList(message, field);
    std::string single;
    if (contents != "s" || !readString(message, single)) return false;
    field.assign(1, std::move(single));
    return true;
  };
  if (key == "xesam:url") return text(track.url);
  if (key == "xesam:title") return text(track.title);
  if (key == "xesam:album") return text(track.album);
  if (key == "xesam:asText") return text(track.lyrics);
  if (key == "xesam:contentCreated") return text(track.created);
  if (key == "xesam:artist") return list(track.artists);
  if (key == "xesam:genre") return list(track.genres);
  if (key == "xesam:comment") return list(track.comments);
  if (key == "xesam:albumArtist") return list(track.albumArtists);
  if (key == "xesam:composer") return list(track.composers);
  if (key == "mpris:trackid") {
    const char* path = nullptr;
    if ((contents != "o" && contents != "s") ||
        sd_bus_message_read_basic(message, contents[0], &path) < 0)
      return false;
    track.trackId = path ? path : "";
    return true;
  }
  const auto integer = [&]<typename Wanted>(std::optional<Wanted>& field) {
    const auto number = readInteger<Wanted>(message, contents);
    if (number) field = *number;
    return number.has_value();
  };
  if (key == "xesam:trackNumber") return integer(track.trackNumber);
  if (key == "xesam:discNumber") return integer(track.discNumber);
  if (key == "mpris:length") return integer(track.length);
  return false;
}

// One "{sv}" entry; false when the message breaks off.
bool readEntry(sd_bus_message* message, PlayerTrack& track) {
  const char* key = nullptr;
  if (sd_bus_message_read_basic(message, 's', &key) < 0) return false;
  char type = 0;
  const char* contents = nullptr;
  if (sd_bus_message_peek_type(message, &type, &contents) <= 0 || type != 'v' || !contents)
    return false;
  const std::string contentsText = contents;
  if (sd_bus_message_enter_container(message, 'v', contentsText.c_str()) <= 0) return false;
  // A value that fails to read leaves its field as it was.
  readValue(message, key ? key : "", contentsText, track);
  // Whatever was not read of the value, and the values of other types.
  while (sd_bus_message_at_end(message, false) == 0)
    if (sd_bus_message_skip(message, nullptr) < 0) return false;
  return sd_bus_message_exit_container(message) >= 0;
}

}  // namespace

bool readMetadata(sd_bus_message* message, PlayerTrack& track) {
  if (sd_bus_message_enter_container(message, 'a', "{sv}") <= 0) return false;
  while (true) {
    const int entered = sd_bus_message_enter_container(message, 'e', "sv");
    if (entered < 0) return false;
    if (entered == 0) break;
    if (!readEntry(message, track)) return false;
    if (sd_bus_message_exit_container(message) < 0) return false;
  }
  return sd_bus_message_exit_container(message) >= 0;
}

}  // namespace tunora
