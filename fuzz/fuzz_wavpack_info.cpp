// Reads arbitrary bytes as a WavPack file: the tags at the end and the first block.
#include "formats/wavpack_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::WavPackInfo>(data, size, ".wv");
  return 0;
}
