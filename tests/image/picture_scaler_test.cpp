#include "image/picture_scaler.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/image_support.h"

namespace tunora {
namespace {

using testing::pictureOf;

TEST(FittedSize, TheLongerSideBecomesTheLimit) {
  const struct {
    PictureSize size;
    PictureSize fitted;
  } cases[] = {
      {{1000, 1000}, {1000, 1000}},
      {{1001, 1000}, {1000, 999}},
      {{1000, 1001}, {999, 1000}},
      {{1001, 1001}, {1000, 1000}},
      {{4000, 3000}, {1000, 750}},
      {{3000, 4000}, {750, 1000}},
      {{1999, 1}, {1000, 1}},
      {{1, 65535}, {1, 1000}},
      {{3, 2}, {3, 2}},
      {{2001, 1}, {1000, 1}},
      {{65535, 65535}, {1000, 1000}},
      // Sides a hostile header claims: twice them overflows 32 bits.
      {{0x7FFFFFFF, 0}, {1000, 1}},
      {{0x80000000, 0}, {1000, 1}},
      {{0xFFFFFFFF, 0xFFFFFFFF}, {1000, 1000}},
  };
  for (const auto& [size, fitted] : cases)
    EXPECT_EQ(fittedSize(size, 1000), fitted) << size.width << "x" << size.height;
}

TEST(PictureScaler, FlatColourStaysAndTheSameSizeIsACopy) {
  const auto flat = pictureOf(301, 200, 3, [](std::uint32_t, std::uint32_t) {
    return std::array<std::uint8_t, 3>{77, 88, 99};
  });
  const DecodedPicture scaled = scalePicture(flat, {100, 67});
  EXPECT_EQ(scaled.width, 100u);
  EXPECT_EQ(scaled.height, 67u);
  for (std::size_t i = 0; i < scaled.pixels.size(); i += 3)
    ASSERT_EQ((std::array{scaled.pixels[i], scaled.pixels[i + 1], scaled.pixels[i + 2]}),
              (std::array<std::uint8_t, 3>{77, 88, 99}))
        << i;
  const auto noise = pictureOf(17, 5, 3, [](std::uint32_t x, std::uint32_t y) {
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x * 37 + y * 11),
                                       static_cast<std::uint8_t>(x * y), 255};
  });
  EXPECT_EQ(scalePicture(noise, {17, 5}).pixels, noise.pixels);
}

TEST(PictureScaler, FinePatternsAverageOut) {
  // Nearest neighbour would keep only black or only white pixels.
  const auto checkers = pictureOf(400, 400, 3, [](std::uint32_t x, std::uint32_t y) {
    const auto v = static_cast<std::uint8_t>((x + y) % 2 ? 255 : 0);
    return std::array<std::uint8_t, 3>{v, v, v};
  });
  const DecodedPicture scaled = scalePicture(checkers, {100, 100});
  const auto [lowest, highest] = std::minmax_element(scaled.pixels.begin(), scaled.pixels.end());
  EXPECT_GE(*lowest, 120);
  EXPECT_LE(*highest, 135);
}

TEST(PictureScaler, TransparentPixelsLendNoColour) {
  // Opaque white beside transparent black: straight averaging would give a
  // grey seam; weighted by alpha, every visible pixel stays white.
  const auto half = pictureOf(300, 30, 4, [](std::uint32_t x, std::uint32_t) {
    return x < 150 ? std::array<std::uint8_t, 4>{0, 0, 0, 0}
                   : std::array<std::uint8_t, 4>{255, 255, 255, 255};
  });
  const DecodedPicture scaled = scalePicture(half, {100, 10});
  ASSERT_EQ(scaled.channels, 4u);
  int partlyVisible = 0;
  for (std::size_t i = 0; i < scaled.pixels.size(); i += 4) {
    const std::uint8_t alpha = scaled.pixels[i + 3];
    if (alpha == 0) continue;
    if (alpha < 255) ++partlyVisible;
    for (int c = 0; c < 3; ++c) ASSERT_EQ(scaled.pixels[i + c], 255) << i;
  }
  EXPECT_GT(partlyVisible, 0);
  EXPECT_EQ(scaled.pixels[3], 0);                           // left edge
  EXPECT_EQ(scaled.pixels[scaled.pixels.size() - 1], 255);  // right edge
}

TEST(PictureScaler, RowsBeyondTheHeightOrTooShortAreIgnored) {
  PictureScaler scaler({4, 2}, {2, 1}, 3);
  const std::vector<std::uint8_t> white(12, 255);
  scaler.addRow(std::vector<std::uint8_t>(11, 0));  // short: ignored
  scaler.addRow(white);
  scaler.addRow(white);
  scaler.addRow(std::vector<std::uint8_t>(12, 0));  // a third row of two
  EXPECT_EQ(scaler.finish().pixels, std::vector<std::uint8_t>(6, 255));
}

}  // namespace
}  // namespace tunora
