// Reads arbitrary bytes as an AAC file: tags and the ADTS or ADIF header.
#include "formats/aac_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::AACInfo>(data, size, ".aac");
  return 0;
}
