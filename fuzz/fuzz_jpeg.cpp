// The JPEG reader: parameters, then the whole picture when they are accepted.
#include <cstddef>
#include <cstdint>
#include <span>

#include "jpeg/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto parameters = tunora::readJpegParameters(bytes);
  if (!parameters) return 0;
  const auto picture = tunora::decodeJpeg(bytes);
  if (picture && picture->pixels.size() != std::size_t{picture->width} * picture->height * 3)
    __builtin_trap();
  return 0;
}
