// Feeds arbitrary bytes to the Lyrics3 v2 reader as the block its owner reads.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tags/lyrics3_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::Lyrics3Tag tag;
  tag.parse(std::span<const std::uint8_t>(data, size));
  if (tag.hasLyrics()) (void)tag.lyrics().line(0);
  // The extended fields are read only from a block that counts as present.
  if (!tag.isPresent() && !(tag.title() + tag.artist() + tag.album()).empty()) __builtin_trap();
  return 0;
}
