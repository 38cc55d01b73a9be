#pragma once
// Native FLAC files: stream values from STREAMINFO, tags from the
// VORBIS_COMMENT metadata block. Pictures are not read.

#include <string>

#include "formats/format_track_info.h"

namespace tunora {

class FLACInfo : public FormatTrackInfo {
 public:
  // Always 0; a file that cannot be opened or lacks the "fLaC" marker keeps
  // the defaults.
  int readFile(const std::u16string& path) override;
};

}  // namespace tunora
