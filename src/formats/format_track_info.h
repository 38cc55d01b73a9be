#pragma once
// The common ground of the container classes: their values come from the
// container's own tag blocks (the MP4 item list, the Vorbis comments, the
// chunks of WAV and AIFF files).

#include <string>

#include "formats/flac_metadata.h"
#include "tags/id3v2_tag.h"
#include "tags/tag_picture.h"
#include "tags/tag_texts.h"
#include "trackinfo/tag_kind.h"
#include "trackinfo/track_info.h"

namespace tunora {

class FormatTrackInfo : public TrackInfo {
 protected:
  // The six texts, the comment and the lyrics, year and genre already
  // normalised.
  // The block is read no further: its lines are moved, not copied.
  void takeTagTexts(TagTexts&& texts);
  // Two tags of one file, field by field: each text, the comment and the
  // lyrics of `first` where it has them, else those of `second`.
  void takeTagTexts(TagTexts&& first, TagTexts&& second);
  // The tags of a WAV or AIFF file: the container's own texts, listed as
  // `textsKind`, and an ID3v2 tag that wins field by field and gives the cover.
  void takeChunkTags(TagTexts&& texts, TagKind textsKind, ID3v2Tag&& id3v2);
  // A picture of the comments, decoded or only measured as the caller asked.
  void takePicture(const FLACPicture& picture);
  // The picture of a tag (an ID3v2 tag in a chunk), as the tag kept it.
  void takePicture(const TagPicture& picture);
};

}  // namespace tunora
