// Reads arbitrary bytes as a FLAC file: the metadata block walk and its
// comments, keeping the picture and measuring it only.
#include "formats/flac_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::FLACInfo>(data, size, ".flac");
  tunora::fuzzing::readBothCoverWays<tunora::FLACInfo>(data, size, ".flac");
  return 0;
}
