#pragma once
// WAV files, RIFF and RF64: stream values from the fmt chunk and the size of
// the data chunk, tags from a LIST/INFO chunk and from an ID3v2 tag in an
// "id3 " or "ID3 " chunk, which wins field by field, and gives the cover.

#include <string>

#include "formats/format_track_info.h"

namespace tunora {

class WAVInfo : public FormatTrackInfo {
 public:
  // Nothing is taken from a file that does not start as RIFF or RF64 WAVE.
  ReadResult readFile(const std::u16string& path) override;
};

}  // namespace tunora
