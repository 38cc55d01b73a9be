// The Vorbis comment block parse on arbitrary bytes, decoding its pictures
// and measuring them only: both must find the same picture.
#include <cstddef>
#include <cstdint>

#include "formats/vorbis_comment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tunora::VorbisComment comment({data, size});
  const std::size_t total = comment.title().size() + comment.artist().size() +
                            comment.album().size() + comment.year().size() +
                            comment.genre().size() + comment.track().size() +
                            comment.comment().joinWithBreaks().size();
  const tunora::VorbisComment measured({data, size}, tunora::CoverBytes::SizeOnly);
  const auto& kept = comment.picture();
  const auto& sizeOnly = measured.picture();
  if (kept.has_value() != sizeOnly.has_value() ||
      (kept && (kept->type != sizeOnly->type || kept->data.size() != sizeOnly->size ||
                kept->size != sizeOnly->size)))
    __builtin_trap();
  return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
