#pragma once
// Turning a cover picture into the temporary file a page shows: decode it,
// report its size, and copy it there, or write a duotone version of it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// The two colours ("#RRGGBB") of the duotone that the template asked for.
struct Duotone {
  std::u16string dark;
  std::u16string light;
};

// A cover made ready for a page: the picture's size and the bytes that its
// temporary file gets.
struct PreparedCover {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> bytes;
};

// From the bytes of a picture (a JPEG, or a PNG): with a duotone the
// recoloured picture encoded as a JPEG at quality 100, otherwise the bytes as
// they are. Nothing when they are neither picture, a JPEG that must be
// decoded cannot be, or more than a picture file may hold.
std::optional<PreparedCover> prepareCover(std::span<const std::uint8_t> jpeg,
                                          const Duotone* duotone);

// Maps each pixel's grey value linearly from the darkest to the brightest
// pixel onto dark..light, per channel. Blue-green-red pixels, 3 bytes each.
void recolourPicture(std::vector<std::uint8_t>& pixels, const Duotone& duotone);

}  // namespace tunora
