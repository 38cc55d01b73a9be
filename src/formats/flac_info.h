#pragma once
// Native FLAC files: stream values from STREAMINFO, tags from the
// VORBIS_COMMENT metadata block, the cover from a PICTURE block (the front
// cover before any other).

#include <string>

#include "formats/flac_metadata.h"
#include "formats/format_track_info.h"

namespace tunora {

class FLACInfo : public FormatTrackInfo {
 public:
  // Without the "fLaC" marker nothing is taken.
  ReadResult readFile(const std::u16string& path) override;

 private:
  // From the bytes after the metadata and the duration of STREAMINFO.
  void setAudioBitRate(const FLACStreamInfo& info, std::int64_t audioBytes);

  std::uint32_t coverType_ = 0;
};

}  // namespace tunora
