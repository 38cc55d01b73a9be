#include "image/orient_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "image/image_support.h"

namespace tunora {
namespace {

// The 2 x 3 picture, one letter a pixel:  a b
//                                         c d
//                                         e f
DecodedPicture letters() {
  return testing::pictureOf(2, 3, 1, [](std::uint32_t x, std::uint32_t y) {
    return std::array<std::uint8_t, 1>{static_cast<std::uint8_t>('a' + y * 2 + x)};
  });
}

std::string rowsOf(const DecodedPicture& picture) {
  std::string text;
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    if (y > 0) text += '/';
    for (std::uint32_t x = 0; x < picture.width; ++x)
      text += static_cast<char>(picture.pixels[y * picture.width + x]);
  }
  return text;
}

TEST(OrientPicture, EachOrientationStandsUpright) {
  // What a viewer shows for each Exif value, from the TIFF definition of
  // where the stored row 0 and column 0 belong.
  const struct {
    Orientation orientation;
    const char* upright;
  } cases[] = {
      {Orientation::Upright, "ab/cd/ef"},    {Orientation::Mirrored, "ba/dc/fe"},
      {Orientation::UpsideDown, "fe/dc/ba"}, {Orientation::MirroredUpsideDown, "ef/cd/ab"},
      {Orientation::Transposed, "ace/bdf"},  {Orientation::TurnedRight, "eca/fdb"},
      {Orientation::Transversed, "fdb/eca"}, {Orientation::TurnedLeft, "bdf/ace"},
  };
  for (const auto& [orientation, upright] : cases)
    EXPECT_EQ(rowsOf(orientPicture(letters(), orientation)), upright)
        << static_cast<int>(orientation);
}

TEST(OrientPicture, WholePixelsMove) {
  // Blue-green-red pixels stay together.
  const auto picture = testing::pictureOf(2, 1, 3, [](std::uint32_t x, std::uint32_t) {
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x), 7, 9};
  });
  const DecodedPicture turned = orientPicture(picture, Orientation::TurnedRight);
  EXPECT_EQ(turned.width, 1u);
  EXPECT_EQ(turned.height, 2u);
  EXPECT_EQ(turned.channels, 3u);
  EXPECT_EQ(turned.pixels, (std::vector<std::uint8_t>{0, 7, 9, 1, 7, 9}));
}

}  // namespace
}  // namespace tunora
