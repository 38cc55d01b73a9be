// Reads arbitrary bytes as a Musepack file: the tags at the end and the stream header.
#include "formats/mpc_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::MPCInfo>(data, size, ".mpc");
  return 0;
}
