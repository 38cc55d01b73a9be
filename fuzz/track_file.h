#pragma once
// For the fuzz targets of the track classes, which read files: writes the
// input to a file of this process and reads it with a fresh object.

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "io/file.h"
#include "trackinfo/track_info.h"

namespace tunora::fuzzing {

// The input as a file of this process with the given extension; empty when
// it cannot be written.
inline std::u16string inputFile(const std::uint8_t* data, std::size_t size, const char* extension) {
  const std::u16string path =
      pathFromNative("/tmp/tunora-fuzz-" + std::to_string(getpid()) + extension);
  return writeWholeFile(path, std::span<const std::uint8_t>(data, size)) ? path : u"";
}

template <typename Track>
void readAsFile(const std::uint8_t* data, std::size_t size, const char* extension) {
  const std::u16string path = inputFile(data, size, extension);
  if (path.empty()) return;
  Track track;
  track.readFile(path);
  for (const auto& text : {track.getTitle(), track.getYear(), track.getGenre(), track.getBitrate(),
                           track.getPresentTags()})
    (void)text.size();
  if (const auto* lines = track.getComment()) (void)lines->line(0);
  if (const auto* lines = track.getLyrics()) (void)lines->line(0);
}

// Reads the input once keeping the picture and once measuring it only, and
// stops the run where the two disagree: the listing that measures must show
// what the pages show.
template <typename Track>
void readBothCoverWays(const std::uint8_t* data, std::size_t size, const char* extension) {
  const std::u16string path = inputFile(data, size, extension);
  if (path.empty()) return;
  Track kept;
  Track measured;
  measured.setCoverBytes(CoverBytes::SizeOnly);
  if (kept.readFile(path) != measured.readFile(path)) std::abort();
  const auto* picture = kept.getCoverData();
  if (kept.hasCover() != measured.hasCover() ||
      (picture ? picture->size() : 0) != measured.getCoverSize() ||
      kept.getTitle() != measured.getTitle() || kept.getArtist() != measured.getArtist() ||
      kept.getAlbum() != measured.getAlbum() || kept.hasComment() != measured.hasComment() ||
      kept.getPresentTags() != measured.getPresentTags())
    std::abort();
}

}  // namespace tunora::fuzzing
