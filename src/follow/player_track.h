#pragma once
// What a player on the session bus says it plays: the values of its track
// metadata that a page shows, as UTF-8 text the way they arrived.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "trackinfo/track.h"

namespace tunora {

// The player's texts are cut to this many units, as the plug-in's player
// answers are cut by the buffer it lends: a page is about a song, and a
// megabyte of title would take the page generator long to place.
inline constexpr std::size_t kPlayerAnswerLimit = 4095;

struct PlayerTrack {
  std::string trackId;
  std::string url;
  std::string title;
  std::vector<std::string> artists;
  std::string album;
  std::vector<std::string> genres;
  std::vector<std::string> comments;
  std::string lyrics;
  // The creation date as the player gives it ("2007-04-29T13:56+01:00").
  std::string created;
  std::optional<std::int32_t> trackNumber;
  std::vector<std::string> albumArtists;
  std::optional<std::int32_t> discNumber;
  std::vector<std::string> composers;
  // The playing time in microseconds.
  std::optional<std::int64_t> length;

  // True when the player named no track at all (it stopped).
  bool empty() const;
  // The size of the longest text of the track in bytes, the URL left out.
  std::size_t longestText() const;
};

// The local path of a "file://" URL, percent-decoded; nothing for any other
// scheme and for a URL that names no usable path (not absolute, a NUL, bytes
// that are not UTF-8).
std::optional<std::u16string> localPathOf(std::string_view url);

// The name the page is built for: the local path of a file URL, any other URL
// as it is (a stream), else the track id. Never empty.
std::u16string pageEntryOf(const PlayerTrack& track);

// The track as the player describes it, for a page about `fileName` where
// Tunora cannot read the file itself: texts cut to kPlayerAnswerLimit, the
// year reduced to its four digits, the genre without a "(17)" group, several
// artists, album artists, composers and genres joined with ", ", comments
// with line feeds. Of the stream the player tells only the playing time.
Track trackOf(const PlayerTrack& track, std::u16string fileName);

// Short and equal only for equal tracks, so that a player that repeats its
// announcement does not rebuild the page.
std::string fingerprintOf(const PlayerTrack& track);

}  // namespace tunora
