// FLACInfo on arbitrary bytes taken for FLAC files.
#include "formats/flac_info.h"
#include "track_file_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tunora::fuzzing::readAsTrack<tunora::FLACInfo>(data, size);
}
