// MP4Info on arbitrary bytes taken for MP4 and M4A files.
#include "formats/mp4_info.h"
#include "track_file_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return tunora::fuzzing::readAsTrack<tunora::MP4Info>(data, size);
}
