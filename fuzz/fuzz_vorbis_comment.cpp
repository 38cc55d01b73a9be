// The Vorbis comment block parse on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "formats/vorbis_comment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tunora::VorbisComment comment = tunora::parseVorbisComment({data, size});
  const std::size_t total = comment.texts.title.size() + comment.texts.artist.size() +
                            comment.texts.album.size() + comment.texts.year.size() +
                            comment.texts.genre.size() + comment.texts.trackNumber.size() +
                            comment.texts.comment.joinWithBreaks().size();
  return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
