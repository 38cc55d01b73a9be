// Feeds arbitrary bytes to the ID3v1 reader, as the last 128 bytes of a file
// and as blocks of other lengths.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tags/id3v1_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  tunora::ID3v1Tag tag;
  tag.parse(bytes);
  if (size >= tunora::ID3v1Tag::kSize) tag.parse(bytes.last(tunora::ID3v1Tag::kSize));
  if (tag.isPresent()) {
    (void)tag.genreName();
    (void)tag.comment().line(0);
  }
  return 0;
}
