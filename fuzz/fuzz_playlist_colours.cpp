// Feeds arbitrary bytes to the reader of a classic skin's pledit.txt, read as
// the 8-bit lines the skin file gives.
#include <cstddef>
#include <cstdint>

#include "skin/playlist_colours.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tunora::TextLines pledit;
  for (std::size_t i = 0; i < size; ++i) pledit.appendUnit(data[i]);
  tunora::PageColours colours;
  tunora::readPlaylistColours(pledit, colours);
  return 0;
}
