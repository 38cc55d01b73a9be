// Reads arbitrary bytes as an MP3 file: every locator and reader in turn.
#include "formats/mp3_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::MP3Info>(data, size, ".mp3");
  return 0;
}
