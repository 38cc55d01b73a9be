#pragma once
// The common ground of the MP4, Ogg and FLAC classes: values taken from the
// container's own tag block, and year and genre normalised on every query.

#include <string>

#include "formats/tag_texts.h"
#include "trackinfo/tagged_track_info.h"

namespace tunora {

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
