#pragma once
// The common ground of the MP4, Ogg and FLAC classes: their values come from
// the container's own tag block (the MP4 item list, the Vorbis comments).

#include <cstdint>
#include <limits>
#include <string>

#include "tags/tag_texts.h"
#include "trackinfo/tagged_track_info.h"

namespace tunora {

// For the base's 32-bit setters: a figure from a huge or hostile file
// saturates instead of wrapping.
constexpr std::uint32_t saturateTo32(std::uint64_t value) {
  return value > std::numeric_limits<std::uint32_t>::max()
             ? std::numeric_limits<std::uint32_t>::max()
             : static_cast<std::uint32_t>(value);
}

class FormatTrackInfo : public TaggedTrackInfo {
 protected:
  // The six texts and the comment, year and genre already normalised.
  void takeTagTexts(const TagTexts& texts);
};

}  // namespace tunora
