// Feeds arbitrary bytes to the ID3v2 reader as the block its owners read,
// once with the picture kept and once for its size only: both must agree.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tags/id3v2_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> block(data, size);
  tunora::ID3v2Tag tag;
  tag.parse(block);
  if (tag.isPresent()) {
    (void)tag.year();
    (void)tag.genre();
    (void)tag.comment().line(0);
    (void)tag.picture().size();
  }
  tunora::ID3v2Tag sized;
  sized.parse(block, tunora::CoverBytes::SizeOnly);
  if (sized.isPresent() != tag.isPresent() || sized.hasPicture() != tag.hasPicture() ||
      sized.pictureSize() != tag.picture().size() || sized.title() != tag.title())
    __builtin_trap();
  return 0;
}
