// Reads arbitrary bytes as an ASF file: the Header Object and its objects.
#include "formats/asf_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::ASFInfo>(data, size, ".wma");
  return 0;
}
