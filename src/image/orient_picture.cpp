#include "image/orient_picture.h"

#include <algorithm>

namespace tunora {

DecodedPicture orientPicture(const DecodedPicture& picture, Orientation orientation) {
  if (orientation == Orientation::Upright) return picture;
  const std::uint32_t w = picture.width;
  const std::uint32_t h = picture.height;
  const bool swapped = swapsSides(orientation);
  DecodedPicture upright{swapped ? h : w, swapped ? w : h, {}};
  upright.channels = picture.channels;
  upright.pixels.resize(picture.pixels.size());
  const std::size_t channels = picture.channels;
  for (std::uint32_t y = 0; y < upright.height; ++y)
    for (std::uint32_t x = 0; x < upright.width; ++x) {
      // The stored pixel that belongs at (x, y) of the upright picture.
      std::uint32_t sx = x;
      std::uint32_t sy = y;
      switch (orientation) {
        case Orientation::Upright:
          break;
        case Orientation::Mirrored:
          sx = w - 1 - x;
          break;
        case Orientation::UpsideDown:
          sx = w - 1 - x, sy = h - 1 - y;
          break;
        case Orientation::MirroredUpsideDown:
          sy = h - 1 - y;
          break;
        case Orientation::Transposed:
          sx = y, sy = x;
          break;
        case Orientation::TurnedRight:
          sx = y, sy = h - 1 - x;
          break;
        case Orientation::Transversed:
          sx = w - 1 - y, sy = h - 1 - x;
          break;
        case Orientation::TurnedLeft:
          sx = w - 1 - y, sy = x;
          break;
      }
      const auto from = picture.pixels.begin() + (std::size_t{sy} * w + sx) * channels;
      std::copy(from, from + static_cast<std::ptrdiff_t>(channels),
                upright.pixels.begin() + (std::size_t{y} * upright.width + x) * channels);
    }
  return upright;
}

}  // namespace tunora
