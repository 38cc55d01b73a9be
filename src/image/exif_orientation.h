#pragma once
// The orientation a camera records in a JPEG's Exif block (APP1), which says
// how the stored pixels must be turned to stand upright. Phones store the
// sensor's rows as they come and set this tag instead of turning the picture.

#include <cstdint>
#include <span>

namespace tunora {

// The eight values of the TIFF Orientation tag (0x0112): where row 0 and
// column 0 of the stored picture belong.
enum class Orientation : std::uint8_t {
  Upright = 1,
  Mirrored = 2,            // flipped left to right
  UpsideDown = 3,          // turned by 180 degrees
  MirroredUpsideDown = 4,  // flipped top to bottom
  Transposed = 5,          // mirrored along the main diagonal
  TurnedRight = 6,         // needs a quarter turn clockwise
  Transversed = 7,         // mirrored along the other diagonal
  TurnedLeft = 8,          // needs a quarter turn anticlockwise
};

// True when the upright picture is the stored one with width and height swapped.
constexpr bool swapsSides(Orientation orientation) {
  return static_cast<std::uint8_t>(orientation) >= 5;
}

// The orientation in the TIFF structure of an Exif block (the bytes after
// "Exif\0\0"); Upright when there is none or it is not one of the eight.
Orientation exifOrientation(std::span<const std::uint8_t> tiff);

// The orientation of a JPEG file's first Exif block; Upright without one.
Orientation jpegOrientation(std::span<const std::uint8_t> jpeg);

}  // namespace tunora
