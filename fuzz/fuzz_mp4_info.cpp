// Reads arbitrary bytes as an MP4 file: the atom walk, track choice and item list.
#include "formats/mp4_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::MP4Info>(data, size, ".m4a");
  return 0;
}
