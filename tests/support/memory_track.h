#pragma once
// Tracks made in memory, for tests and benchmarks that need TrackInfo objects
// without reading files: makeTrack({.artist = u"A", .year = u"1999"}).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "trackinfo/tagged_track_info.h"

namespace tunora::testing {

struct TrackSpec {
  std::u16string file = u"Unknown";
  std::u16string title = u"Unknown";
  std::u16string artist = u"Unknown";
  std::u16string album = u"Unknown";
  std::u16string year = u"Unknown";
  std::u16string genre = u"Unknown";
  std::u16string trackNumber = u"Unknown";
  std::u16string presentTags = u"None";
  std::optional<std::u16string> comment = std::nullopt;  // lines separated by "\n"
  std::optional<std::u16string> lyrics = std::nullopt;
  std::optional<std::vector<std::uint8_t>> cover = std::nullopt;
  std::uint32_t bitsPerSecond = 0;  // 0: "Unknown"
  std::uint32_t hertz = 0;
  std::uint32_t channels = 0;
};

class MemoryTrack : public TaggedTrackInfo {
 public:
  explicit MemoryTrack(const TrackSpec& spec) {
    fileName_ = spec.file;
    title_ = spec.title;
    artist_ = spec.artist;
    album_ = spec.album;
    year_ = spec.year;
    genre_ = spec.genre;
    trackNumber_ = spec.trackNumber;
    presentTags_ = spec.presentTags;
    tagFound_ = spec.presentTags != u"None";
    commentFound_ = fill(comment_, spec.comment);
    lyricsFound_ = fill(lyrics_, spec.lyrics);
    if (spec.cover) takeCover(Bytes(*spec.cover));
    setBitsPerSecond(spec.bitsPerSecond);
    setSampleRate(spec.hertz);
    setChannels(spec.channels);
  }

 private:
  static bool fill(TextLines& lines, const std::optional<std::u16string>& text) {
    if (!text) return false;
    for (const char16_t unit : *text) lines.appendUnit(unit);
    return true;
  }
};

inline std::unique_ptr<TrackInfo> makeTrack(const TrackSpec& spec) {
  return std::make_unique<MemoryTrack>(spec);
}

}  // namespace tunora::testing
