#pragma once
// Tracks made in memory, for tests and benchmarks that need TrackInfo objects
// without reading files: makeTrack({.artist = u"A", .year = u"1999"}).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "trackinfo/track_info.h"

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
  std::u16string albumArtist = u"Unknown";
  std::uint64_t milliseconds = 0;
};

class MemoryTrack : public TrackInfo {
 public:
  explicit MemoryTrack(const TrackSpec& spec) {
    track_.fileName = spec.file;
    track_.title = knownText(spec.title);
    track_.artist = knownText(spec.artist);
    track_.album = knownText(spec.album);
    track_.year = knownText(spec.year);
    track_.genre = knownText(spec.genre);
    track_.trackNumber = knownText(spec.trackNumber);
    track_.tagKinds = spec.presentTags;
    track_.hasTag = spec.presentTags != u"None";
    takeComment(linesOf(spec.comment));
    takeLyrics(linesOf(spec.lyrics));
    if (spec.cover) takeCover(Bytes(*spec.cover));
    setBitsPerSecond(spec.bitsPerSecond);
    setSampleRate(spec.hertz);
    setChannels(spec.channels);
    track_.albumArtist = knownText(spec.albumArtist);
    setMilliseconds(spec.milliseconds);
  }

 private:
  static std::optional<TextLines> linesOf(const std::optional<std::u16string>& text) {
    if (!text) return std::nullopt;
    std::optional<TextLines> lines{std::in_place};
    for (const char16_t unit : *text) lines->appendUnit(unit);
    return lines;
  }
};

inline std::unique_ptr<TrackInfo> makeTrack(const TrackSpec& spec) {
  return std::make_unique<MemoryTrack>(spec);
}

}  // namespace tunora::testing
