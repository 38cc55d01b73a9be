// Feeds arbitrary bytes to the ID3v2 reader as the block its owners read.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tags/id3v2_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::ID3v2Tag tag;
  tag.parse(std::span<const std::uint8_t>(data, size));
  if (tag.isPresent()) {
    (void)tag.year();
    (void)tag.genre();
    (void)tag.comment().line(0);
    (void)tag.picture().size();
  }
  return 0;
}
