// Reads arbitrary bytes as an Ogg Opus file: the identification and comment
// headers and the search for the last granule position, keeping the comment's
// picture and measuring it only.
#include "formats/opus_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::OpusInfo>(data, size, ".opus");
  tunora::fuzzing::readBothCoverWays<tunora::OpusInfo>(data, size, ".opus");
  return 0;
}
