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

// Pages show covers at most this many pixels wide and high.
inline constexpr std::uint32_t kMaxCoverSide = 1000;

// From the bytes of a picture (a JPEG, or a PNG), the cover a page shows:
// scaled down to fit in kMaxCoverSide when it is larger, a JPEG turned
// upright as its Exif orientation says, and with a duotone recoloured and
// encoded as a JPEG at quality 100. A picture that needs none of that keeps
// its bytes as they are. Nothing when they are neither picture, a picture
// that must be decoded cannot be, or more than a picture file may hold.
std::optional<PreparedCover> prepareCover(std::span<const std::uint8_t> picture,
                                          const Duotone* duotone);

// Maps each pixel's grey value linearly from the darkest to the brightest
// pixel onto dark..light, per channel. Blue-green-red pixels, 3 bytes each.
void recolourPicture(std::vector<std::uint8_t>& pixels, const Duotone& duotone);

}  // namespace tunora
