#pragma once
// Ogg Vorbis files: stream values from the identification header, tags from
// the comment header. Only the first pages are looked at; packets are not
// reassembled and no audio is decoded.

#include <string>

#include "formats/format_track_info.h"

namespace tunora {

class OGGInfo : public FormatTrackInfo {
 public:
  // Not recognised without a valid identification header: the stream values
  // stay "Unknown" and hasTag stays false, even when comments were read.
  ReadResult readFile(const std::u16string& path) override;
};

}  // namespace tunora
