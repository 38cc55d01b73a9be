// MPCInfo on arbitrary bytes taken for Musepack files.
#include "formats/mpc_info.h"
#include "track_file_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tunora::fuzzing::readAsTrack<tunora::MPCInfo>(data, size);
}
