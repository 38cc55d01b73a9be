#pragma once
// What the core asks of the player it runs in. The plug-in answers through
// the player's windows; the command-line tool answers from its options; a
// test answers what it likes. Every answer may be "nothing", which is also
// what this base class gives.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tunora {

// The stream properties the player reports of the file it plays.
enum class StreamProperty { SampleRateKHz = 0, BitrateKbps = 1, Channels = 2 };

// The row of the player's generic skin bitmap that carries its colour table:
// the pixel of each of the 22 entries and the marker pixel of an undefined
// colour, as Windows colour values (0x00BBGGRR); kUnreadPixel where a pixel
// could not be read.
inline constexpr std::size_t kGenericColourCount = 22;
inline constexpr std::uint32_t kUnreadPixel = 0xFFFFFFFF;
struct GenericSkinPixels {
  std::array<std::uint32_t, kGenericColourCount> entries{};
  std::uint32_t marker = kUnreadPixel;
};

class HostLink {
 public:
  virtual ~HostLink() = default;

  // The folder that holds the temporary cover files of the pages, ending in a
  // separator: in the plug-in the player's folder + "plugins\ml_tunora\".
  // Nothing when no such folder can be named; pages then show no covers.
  virtual std::optional<std::u16string> coverFolder() const { return std::nullopt; }
  // How the page refers to a cover file of that folder, as ready markup;
  // nothing: by its path.
  virtual std::optional<std::u16string> coverLink(std::u16string_view /*coverPath*/) const {
    return std::nullopt;
  }

  // True when a player is there to be asked; without one nothing is asked.
  virtual bool playerPresent() const { return false; }
  // The file the player plays now, as it names it; nothing without one.
  virtual std::optional<std::u16string> playingFile() const { return std::nullopt; }
  // A stream property of the playing file; 0 when unknown.
  virtual std::uint32_t streamProperty(StreamProperty) const { return 0; }
  // The player's extended file information `key` ("Title", "Comment", ...)
  // of `file`: nothing when the player did not answer, else its text (which
  // may be empty).
  virtual std::optional<std::u16string> fileInfo(std::u16string_view /*file*/,
                                                 std::string_view /*key*/) const {
    return std::nullopt;
  }

  // The folder of the current skin without a trailing separator; empty for
  // the player's default skin; nothing when there is no player to ask.
  virtual std::optional<std::u16string> skinFolder() const { return std::nullopt; }
  // The colour row of the generic skin bitmap; nothing when the player has
  // no such bitmap.
  virtual std::optional<GenericSkinPixels> genericSkinPixels() const { return std::nullopt; }
};

}  // namespace tunora
