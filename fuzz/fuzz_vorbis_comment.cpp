// The Vorbis comment block parse on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "formats/vorbis_comment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tunora::VorbisComment comment({data, size});
  const std::size_t total = comment.title().size() + comment.artist().size() +
                            comment.album().size() + comment.year().size() +
                            comment.genre().size() + comment.track().size() +
                            comment.comment().joinWithBreaks().size();
  return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
