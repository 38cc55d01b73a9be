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

// How many bits one unit of the kilobit figure shown holds: most readers show
// kilobits of 1000 bits, the MP4 and ADIF readers the kibibits that the pages
// call "KibpS".
enum class KilobitUnit : std::uint16_t { Decimal = 1000, Binary = 1024 };

// The stream properties as figures. A bit rate of 0 is none ("Unknown");
// a rate below one unit shows "0".
struct StreamFigures {
  std::optional<std::uint64_t> bitsPerSecond;
  KilobitUnit shownIn = KilobitUnit::Binary;
  std::optional<std::uint32_t> sampleRate;
  std::optional<std::uint32_t> channels;
  // The playing time; 0 is none.
  std::optional<std::uint64_t> milliseconds;
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
  std::optional<std::u16string> albumArtist;
  std::optional<std::u16string> discNumber;
  std::optional<std::u16string> composer;
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
std::optional<std::u16string> knownText(std::u16string&& text);

// The display rules, in one place.
std::u16string shownText(const std::optional<std::u16string>& text);
// A whole number, "Unknown" when absent, empty when the player was not asked.
std::u16string shownFigure(std::optional<std::uint64_t> figure, bool known);
std::u16string shortFileNameOf(const Track& track);
// A file:// link to the file (text/file_url.h), the name made absolute first;
// a name that is a URL already stays as it is.
std::u16string fileUrlOf(const Track& track);
std::u16string fileTypeOf(const Track& track);

// The figure shown for a rate: saturated at what 32 bits of bit/s give, as
// hostile sizes and durations give absurd rates.
inline constexpr std::uint64_t kMaxBitrateFigure = 0xFFFFFFFF >> 10;
// The whole kilobits shown for the stream's rate; none without a rate.
std::optional<std::uint64_t> kilobitFigure(const StreamFigures& stream);
// A playing time as m:ss, or h:mm:ss from an hour on; whole seconds,
// rounded down.
std::u16string durationText(std::uint64_t milliseconds);
// As a listing gives it: seconds with three decimals ("215.307").
std::string secondsText(std::uint64_t milliseconds);
// 0 is "Unknown".
std::optional<std::uint32_t> knownCount(std::uint32_t value);

}  // namespace tunora
