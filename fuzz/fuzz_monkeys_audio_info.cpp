// Reads arbitrary bytes as a Monkey's Audio file: the tags at the end and the header.
#include "formats/monkeys_audio_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::MonkeysAudioInfo>(data, size, ".ape");
  return 0;
}
