#pragma once
// Pictures for the image tests, made in memory: Exif blocks, JPEG segments,
// pictures of coloured cells.

#include <cstdint>
#include <vector>

#include "jpeg/jpeg_codec.h"

namespace tunora::testing {

struct ExifShape {
  bool bigEndian = false;
  std::uint16_t type = 3;  // SHORT
  std::uint32_t count = 1;
  int entriesBefore = 1;  // other tags before the orientation
  bool nextIfd = true;    // the 4-byte link after the entries
};

// A TIFF structure whose first IFD holds the orientation tag with `value`.
inline std::vector<std::uint8_t> exifTiff(std::uint16_t value, ExifShape shape) {
  std::vector<std::uint8_t> tiff;
  const auto put = [&](std::uint32_t number, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      const int shift = 8 * (shape.bigEndian ? bytes - 1 - i : i);
      tiff.push_back(static_cast<std::uint8_t>(number >> shift));
    }
  };
  tiff.push_back(shape.bigEndian ? 'M' : 'I');
  tiff.push_back(shape.bigEndian ? 'M' : 'I');
  put(42, 2);
  put(8, 4);
  put(static_cast<std::uint32_t>(shape.entriesBefore + 1), 2);
  for (int i = 0; i < shape.entriesBefore; ++i) {
    put(0x010F, 2);  // Make, ASCII, 4 bytes in place
    put(2, 2);
    put(4, 4);
    put(0x41424300, 4);
  }
  put(0x0112, 2);
  put(shape.type, 2);
  put(shape.count, 4);
  put(value, 2);
  put(0, 2);
  if (shape.nextIfd) put(0, 4);
  return tiff;
}

// A JPEG marker segment with its length.
inline std::vector<std::uint8_t> withSegment(std::uint8_t marker,
                                             const std::vector<std::uint8_t>& payload) {
  const std::size_t length = payload.size() + 2;
  std::vector<std::uint8_t> segment{0xFF, marker, static_cast<std::uint8_t>(length >> 8),
                                    static_cast<std::uint8_t>(length)};
  segment.insert(segment.end(), payload.begin(), payload.end());
  return segment;
}

// The JPEG with an Exif block of that orientation right after its start marker.
inline std::vector<std::uint8_t> withOrientation(std::vector<std::uint8_t> jpeg,
                                                 std::uint16_t orientation) {
  std::vector<std::uint8_t> payload{'E', 'x', 'i', 'f', 0, 0};
  const auto tiff = exifTiff(orientation, {.bigEndian = true});
  payload.insert(payload.end(), tiff.begin(), tiff.end());
  const auto segment = withSegment(0xE1, payload);
  jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
  return jpeg;
}

// A picture of `channels` bytes a pixel, each from `pixel(x, y)`.
template <typename Pixel>
DecodedPicture pictureOf(std::uint32_t width, std::uint32_t height, std::uint32_t channels,
                         Pixel pixel) {
  DecodedPicture picture{width, height, {}};
  picture.channels = channels;
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      const auto value = pixel(x, y);
      picture.pixels.insert(picture.pixels.end(), value.begin(), value.begin() + channels);
    }
  return picture;
}

}  // namespace tunora::testing
