// The decoded cover as the bitmap the dialog's picture control shows.
#include "host/picture_bitmap.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace tunora::host {
namespace {

using Pixel = std::array<std::uint8_t, 3>;  // blue, green, red

// Every pixel tells its own place.
Pixel numbered(std::uint32_t x, std::uint32_t y) {
  return {std::uint8_t(x), std::uint8_t(y), std::uint8_t(255 - x)};
}

DecodedPicture numberedPicture(std::uint32_t width, std::uint32_t height) {
  DecodedPicture picture{width, height, {}};
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x) {
      const Pixel p = numbered(x, y);
      picture.pixels.insert(picture.pixels.end(), p.begin(), p.end());
    }
  return picture;
}

// The bitmap's pixels, rows top to bottom.
std::vector<std::vector<Pixel>> pixelsOf(HBITMAP bitmap) {
  BITMAP info{};
  if (GetObjectA(bitmap, sizeof info, &info) == 0) return {};
  BITMAPINFO wanted{};
  wanted.bmiHeader.biSize = sizeof wanted.bmiHeader;
  wanted.bmiHeader.biWidth = info.bmWidth;
  wanted.bmiHeader.biHeight = -info.bmHeight;
  wanted.bmiHeader.biPlanes = 1;
  wanted.bmiHeader.biBitCount = 24;
  wanted.bmiHeader.biCompression = BI_RGB;
  const std::size_t stride = (std::size_t(info.bmWidth) * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> bits(stride * info.bmHeight);
  const HDC screen = GetDC(nullptr);
  const int rows =
      GetDIBits(screen, bitmap, 0, info.bmHeight, bits.data(), &wanted, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return {};
  std::vector<std::vector<Pixel>> pixels(info.bmHeight);
  for (int y = 0; y < info.bmHeight; ++y)
    for (int x = 0; x < info.bmWidth; ++x) {
      const std::uint8_t* p = &bits[y * stride + x * 3];
      pixels[y].push_back({p[0], p[1], p[2]});
    }
  return pixels;
}

TEST(PictureBitmap, UnstretchedPicturesArriveWholeAndUprightAtEveryRowPadding) {
  // Rows of 3, 6, 9, 12 and 15 bytes: GDI pads all but the fourth.
  for (std::uint32_t width = 1; width <= 5; ++width) {
    SCOPED_TRACE(width);
    const DecodedPicture picture = numberedPicture(width, 3);
    const UniqueBitmap bitmap = stretchedBitmap(picture, int(width), 3);
    ASSERT_TRUE(bitmap);
    const auto pixels = pixelsOf(bitmap.get());
    ASSERT_EQ(pixels.size(), 3u);
    for (std::uint32_t y = 0; y < 3; ++y)
      for (std::uint32_t x = 0; x < width; ++x) EXPECT_EQ(pixels[y][x], numbered(x, y));
  }
}

// Stretching repeats or drops whole pixels: each one shown is one of the
// picture's, from the column and row nearest its place, so nothing is
// mirrored or shifted either.
TEST(PictureBitmap, StretchedPixelsAreThePicturesOwn) {
  for (const auto& [width, height] : {std::pair{40u, 30u}, std::pair{500u, 500u}}) {
    SCOPED_TRACE(width);
    const DecodedPicture picture = numberedPicture(width, height);
    const UniqueBitmap bitmap = stretchedBitmap(picture, 241, 241);
    ASSERT_TRUE(bitmap);
    const auto pixels = pixelsOf(bitmap.get());
    ASSERT_EQ(pixels.size(), 241u);
    int strays = 0;
    for (std::uint32_t y = 0; y < 241; ++y)
      for (std::uint32_t x = 0; x < 241; ++x) {
        // The picture's pixels under this one, and one more on each side.
        const auto around = [](std::uint32_t at, std::uint32_t size) {
          return std::pair{at * size / 241 == 0 ? 0 : at * size / 241 - 1,
                           std::min((at + 1) * size / 241 + 1, size - 1)};
        };
        const auto [left, right] = around(x, width);
        const auto [top, bottom] = around(y, height);
        bool own = false;
        for (std::uint32_t sy = top; sy <= bottom; ++sy)
          for (std::uint32_t sx = left; sx <= right; ++sx)
            own = own || pixels[y][x] == numbered(sx, sy);
        if (!own && strays++ < 5) ADD_FAILURE() << x << "," << y;
      }
    EXPECT_EQ(strays, 0);
  }
}

TEST(PictureBitmap, PixelsThatDoNotMatchTheSizeGiveNoBitmap) {
  DecodedPicture picture = numberedPicture(3, 2);
  const std::size_t whole = picture.pixels.size();
  const struct {
    std::uint32_t width, height;
    std::size_t bytes;
    int target;
  } cases[] = {
      {3, 2, whole - 1, 241}, {3, 2, whole + 1, 241}, {0, 2, whole, 241},
      {3, 0, whole, 241},     {3, 2, whole, 0},
  };
  for (const auto& c : cases) {
    DecodedPicture odd = picture;
    odd.width = c.width;
    odd.height = c.height;
    odd.pixels.resize(c.bytes);
    EXPECT_FALSE(stretchedBitmap(odd, c.target, c.target)) << c.width << "x" << c.height;
  }
  EXPECT_TRUE(stretchedBitmap(picture, 1, 1));
}

}  // namespace
}  // namespace tunora::host
