// Reads arbitrary bytes as a WAV file, RIFF or RF64: the chunk walk with the
// ds64 sizes, the fmt chunk, LIST/INFO and an ID3v2 chunk, keeping its
// picture and measuring it only.
#include "formats/wav_info.h"
#include "track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::fuzzing::readAsFile<tunora::WAVInfo>(data, size, ".wav");
  tunora::fuzzing::readBothCoverWays<tunora::WAVInfo>(data, size, ".wav");
  return 0;
}
