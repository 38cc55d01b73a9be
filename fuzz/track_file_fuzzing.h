#pragma once
// Shared by the fuzz targets of the track classes: the input becomes a file
// (the classes read files, seeking as they go), the class reads it, and every
// query is asked as a page would ask it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "text/file.h"
#include "text/helpers.h"
#include "trackinfo/track_info.h"

namespace tunora::fuzzing {

inline const std::u16string& scratchFile() {
  static const std::string name = makeTempFileName();
  static const int removed = std::atexit([] { std::remove(name.c_str()); });
  (void)removed;
  static const std::u16string path = pathFromNative(name);
  return path;
}

template <typename Track>
int readAsTrack(const std::uint8_t* data, std::size_t size) {
  const std::u16string& path = scratchFile();
  if (!writeWholeFile(path, {data, size})) return 0;
  Track track;
  track.readFile(path);
  std::size_t total = track.getTitle().size() + track.getArtist().size() + track.getAlbum().size() +
                      track.getYear().size() + track.getGenre().size() +
                      track.getTrackNumber().size() + track.getPresentTags().size() +
                      track.getBitrate().size() + track.getSampleRate().size() +
                      track.getStereoMode().size();
  if (const auto* comment = track.getComment()) total += comment->joinWithBreaks().size();
  if (const auto* lyrics = track.getLyrics()) total += lyrics->joinWithBreaks().size();
  if (const auto* cover = track.getCoverData()) total += cover->size();
  return total == static_cast<std::size_t>(-1) ? 1 : 0;
}

}  // namespace tunora::fuzzing
