#pragma once
// AIFF and AIFC files: stream values from the COMM chunk, tags from an ID3v2
// tag in an "ID3 " chunk, which wins field by field and gives the cover, and
// from the NAME, AUTH and ANNO text chunks.

#include <cstdint>
#include <optional>
#include <string>

#include "formats/format_track_info.h"
#include "text/byte_reader.h"

namespace tunora {

// The whole hertz of an 80-bit IEEE 754 extended number, big-endian, as AIFF
// stores its sample rate; nothing for a negative rate, one below 1 Hz or one
// that does not fit in 32 bits.
std::optional<std::uint32_t> extendedToHertz(Bytes tenBytes);

class AIFFInfo : public FormatTrackInfo {
 public:
  // Nothing is taken from a file that does not start as FORM AIFF or AIFC.
  ReadResult readFile(const std::u16string& path) override;
};

}  // namespace tunora
