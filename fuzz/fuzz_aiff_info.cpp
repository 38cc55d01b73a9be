// Reads arbitrary bytes as an AIFF or AIFC file: the chunk walk, the COMM
// chunk with its extended rate, the text chunks and an ID3v2 chunk, keeping
// its picture and measuring it only.
#include "formats/aiff_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::AIFFInfo>(data, size, ".aiff");
  tunora::fuzzing::readBothCoverWays<tunora::AIFFInfo>(data, size, ".aiff");
  return 0;
}
