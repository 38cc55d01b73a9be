// The PNG reader: decoded and scaled to fit a page's cover.
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = tunora::decodePng(std::span<const std::uint8_t>(data, size), 64);
  if (picture &&
      (picture->width > 64 || picture->height > 64 ||
       picture->pixels.size() != std::size_t{picture->width} * picture->height * picture->channels))
    __builtin_trap();
  return 0;
}
