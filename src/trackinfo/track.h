#pragma once
// One track's values, whoever found them: a reader of the file, the player's
// answers about it, or a player's announcement of what it plays. A text that
// nothing gave is absent; the display rules below turn every value into what
// pages and listings show.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_lines.h"

namespace tunora {

inline constexpr std::u16string_view kUnknown = u"Unknown";
inline constexpr std::u16string_view kNone = u"None";

// The stream properties as figures. The bit rate is the whole kilobit figure
// shown (a reader that measures bit/s gives value >> 10, the unit the pages
// call "KibpS"; a figure already in kbit/s stays as it is): 0 is a rate
// below one unit, shown "0", while an absent one is "Unknown".
struct StreamFigures {
  std::optional<std::uint64_t> kilobits;
  std::optional<std::uint32_t> sampleRate;
  std::optional<std::uint32_t> channels;
  // False while the player has not been asked: the figures then show empty.
  bool known = true;
};

struct Track {
  std::u16string fileName{kUnknown};
  std::optional<std::u16string> title;
  std::optional<std::u16string> artist;
  std::optional<std::u16string> album;
  std::optional<std::u16string> year;
  std::optional<std::u16string> genre;
  std::optional<std::u16string> trackNumber;
  StreamFigures stream;
  // The kinds of tag found, as listed ("ID3v1, ID3v2"), or "None".
  std::u16string tagKinds{kNone};
  bool hasTag = false;
  // A reader may keep comment lines that are not a comment of the track
  // (an ID3v1 tag's empty buffer): the flags say what the track has.
  bool hasComment = false;
  bool hasLyrics = false;
  std::optional<TextLines> comment;
  std::optional<TextLines> lyrics;
  bool hasCover = false;
  // The picture's size, whether or not its bytes were kept; the bytes when
  // they were.
  std::size_t coverSize = 0;
  std::optional<std::vector<std::uint8_t>> cover;
};

// A text as a reader or the player gave it; "Unknown" is no value.
std::optional<std::u16string> knownText(std::u16string_view text);

// The display rules, in one place.
std::u16string shownText(const std::optional<std::u16string>& text);
// A whole number, "Unknown" when absent, empty when the player was not asked.
std::u16string shownFigure(std::optional<std::uint64_t> figure, bool known);
std::u16string shortFileNameOf(const Track& track);
std::u16string fileTypeOf(const Track& track);

// The figure shown for a rate: saturated at what 32 bits of bit/s give, as
// hostile sizes and durations give absurd rates.
inline constexpr std::uint64_t kMaxBitrateFigure = 0xFFFFFFFF >> 10;
// 0 is "Unknown"; from bit/s the kibibit figure, so 1023 bit/s gives 0.
std::optional<std::uint64_t> kilobitsFromBitsPerSecond(std::uint64_t bitsPerSecond);
std::optional<std::uint64_t> kilobitsFromKilobits(std::uint64_t kilobitsPerSecond);
// 0 is "Unknown".
std::optional<std::uint32_t> knownCount(std::uint32_t value);

}  // namespace tunora
