#pragma once
// MP4 audio files (M4A and the like): stream values from the first audio
// track's headers, tags from the iTunes-style metadata list.

#include <string>

#include "formats/format_track_info.h"

namespace tunora {

class MP4Info : public FormatTrackInfo {
 public:
  // Not recognised without moov and an audio trak in it; without udta or ilst
  // the stream values are read and there is no tag. An item list that cannot
  // be read leaves the read incomplete.
  ReadResult readFile(const std::u16string& path) override;
};

}  // namespace tunora
