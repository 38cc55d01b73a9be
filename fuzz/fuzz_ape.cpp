// Feeds arbitrary bytes to the APEv2 reader as the block from header to footer.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tags/ape_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::APEv2Tag tag;
  tag.parse(std::span<const std::uint8_t>(data, size));
  if (tag.isPresent()) {
    (void)tag.year();
    (void)tag.comment().line(0);
    (void)tag.lyrics().line(0);
  }
  return 0;
}
