// Reads arbitrary bytes as an MP4 file: the atom walk, track choice and item
// list, keeping the cover and measuring it only.
#include "formats/mp4_info.h"
#include "text/debug_log.h"
#include "track_file.h"

// The reader logs an unreadable metadata list; that would only slow the run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tunora::setDebugLogStream(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::MP4Info>(data, size, ".m4a");
  tunora::fuzzing::readBothCoverWays<tunora::MP4Info>(data, size, ".m4a");
  return 0;
}
