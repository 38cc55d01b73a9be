// Reads arbitrary bytes as an Ogg Vorbis file: the page walk and both
// headers, keeping the comment's picture and measuring it only.
#include "formats/ogg_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::OGGInfo>(data, size, ".ogg");
  tunora::fuzzing::readBothCoverWays<tunora::OGGInfo>(data, size, ".ogg");
  return 0;
}
