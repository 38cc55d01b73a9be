#pragma once
// Turning a cover picture into the temporary file a page shows: decode it,
// report its size, and copy it there, or write a duotone version of it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// The two colours ("#RRGGBB") of the duotone that the template asked for.
struct Duotone {
  std::u16string dark;
  std::u16string light;
};

// Reads the picture at `source` (a JPEG, or a PNG) and hands out its size.
// With a duotone the picture is recoloured and written to `destination` as a
// JPEG at quality 100; otherwise `source` is copied there as it is (nothing to
// do when they are the same). False when the source is neither picture, a
// recolouring cannot decode it, or nothing could be written.
bool exportCover(std::u16string_view source, std::u16string_view destination,
                 const Duotone* duotone, std::uint32_t& width, std::uint32_t& height);

// Maps each pixel's grey value linearly from the darkest to the brightest
// pixel onto dark..light, per channel. Blue-green-red pixels, 3 bytes each.
void recolourPicture(std::vector<std::uint8_t>& pixels, const Duotone& duotone);

}  // namespace tunora
