// Feeds arbitrary bytes to the APEv2 reader as the block from header to footer,
// once with the front cover kept and once for its size only: both must agree.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tags/ape_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> block(data, size);
  tunora::APEv2Tag tag;
  tag.parse(block);
  if (tag.isPresent()) {
    (void)tag.year();
    (void)tag.comment().line(0);
    (void)tag.lyrics().line(0);
  }
  tunora::APEv2Tag sized;
  sized.parse(block, tunora::CoverBytes::SizeOnly);
  if (sized.hasPicture() != tag.hasPicture() || sized.pictureSize() != tag.picture().size() ||
      !sized.picture().empty())
    __builtin_trap();
  return 0;
}
