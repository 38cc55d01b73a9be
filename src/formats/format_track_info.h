#pragma once
// The common ground of the MP4, Ogg and FLAC classes: their values come from
// the container's own tag block (the MP4 item list, the Vorbis comments).

#include <string>

#include "formats/flac_metadata.h"
#include "tags/tag_texts.h"
#include "trackinfo/track_info.h"

namespace tunora {

class FormatTrackInfo : public TrackInfo {
 protected:
  // The six texts, the comment and the lyrics, year and genre already
  // normalised.
  // The block is read no further: its lines are moved, not copied.
  void takeTagTexts(TagTexts&& texts);
  // A picture of the comments, decoded or only measured as the caller asked.
  void takePicture(const FLACPicture& picture);
};

}  // namespace tunora
