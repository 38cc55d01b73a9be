// The Exif orientation: through a JPEG's marker segments, and the TIFF
// structure on its own.
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (const auto orientation : {tunora::jpegOrientation(bytes), tunora::exifOrientation(bytes)}) {
    const auto value = static_cast<int>(orientation);
    if (value < 1 || value > 8) __builtin_trap();
  }
  return 0;
}
