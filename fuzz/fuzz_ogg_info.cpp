// Reads arbitrary bytes as an Ogg Vorbis file: the page walk and both headers.
#include "formats/ogg_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::OGGInfo>(data, size, ".ogg");
  return 0;
}
