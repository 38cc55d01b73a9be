#pragma once
// The common ground of the MP4, Ogg and FLAC classes: values taken from the
// container's own tag block, and year and genre normalised on every query.

#include <cstdint>
#include <limits>
#include <string>

#include "formats/tag_texts.h"
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
 public:
  // Keeps the first run of four digits ("2004-05-01" -> "2004").
  const std::u16string& getYear() override;
  // Drops a leading "(17)" group.
  const std::u16string& getGenre() override;

 protected:
  void takeTagTexts(TagTexts&& texts);
};

}  // namespace tunora
