#pragma once
// Native FLAC files: stream values from STREAMINFO, tags from the
// VORBIS_COMMENT metadata block. Pictures are not read.

#include <string>

#include "formats/format_track_info.h"

namespace tunora {

class FLACInfo : public FormatTrackInfo {
 public:
  // Without the "fLaC" marker nothing is taken.
  ReadResult readFile(const std::u16string& path) override;
};

}  // namespace tunora
