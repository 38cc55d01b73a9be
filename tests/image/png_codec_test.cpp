#include "image/png_codec.h"

#include <gtest/gtest.h>

#include "image/image_support.h"
#include "io/file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::pictureOf;

std::vector<std::uint8_t> pngOf(const DecodedPicture& picture) {
  std::vector<std::uint8_t> png;
  EXPECT_TRUE(encodePng(picture, png));
  return png;
}

DecodedPicture rgbaRamp(std::uint32_t width, std::uint32_t height) {
  return pictureOf(width, height, 4, [](std::uint32_t x, std::uint32_t y) {
    return std::array<std::uint8_t, 4>{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                       200, static_cast<std::uint8_t>(x < 3 ? 0 : 255)};
  });
}

TEST(PngCodec, PicturesComeBackAsTheyWereEncoded) {
  const auto rgb = pictureOf(5, 4, 3, [](std::uint32_t x, std::uint32_t y) {
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x * 50),
                                       static_cast<std::uint8_t>(y * 60), 9};
  });
  const auto rgba = rgbaRamp(6, 2);
  for (const DecodedPicture& picture : {rgb, rgba}) {
    const auto png = pngOf(picture);
    EXPECT_EQ(readPngSize(png), (PictureSize{picture.width, picture.height}));
    const auto decoded = decodePng(png, 1000);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->channels, picture.channels);
    // Transparent pixels keep no colour.
    auto expected = picture.pixels;
    if (picture.channels == 4)
      for (std::size_t i = 0; i < expected.size(); i += 4)
        if (expected[i + 3] == 0) expected[i] = expected[i + 1] = expected[i + 2] = 0;
    EXPECT_EQ(decoded->pixels, expected);
  }
}

TEST(PngCodec, InterlacedPicturesDecodeAsAWhole) {
  const auto png = readWholeFile(testing::fixturePath("png/interlaced_alpha.png"));
  ASSERT_TRUE(png);
  const auto decoded = decodePng(*png, 1000);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->pixels,
            pictureOf(9, 7, 4, [](std::uint32_t x, std::uint32_t y) {
              return x > 2
                         ? std::array<std::uint8_t, 4>{static_cast<std::uint8_t>(x * 20),
                                                       static_cast<std::uint8_t>(y * 30), 100, 255}
                         : std::array<std::uint8_t, 4>{0, 0, 0, 0};
            }).pixels);
  const auto scaled = decodePng(*png, 3);
  ASSERT_TRUE(scaled);
  EXPECT_EQ(scaled->width, 3u);
  EXPECT_EQ(scaled->height, 2u);
}

TEST(PngCodec, DecodingScalesToFitKeepingTheAlpha) {
  const auto png = pngOf(rgbaRamp(40, 10));
  const auto decoded = decodePng(png, 20);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, 20u);
  EXPECT_EQ(decoded->height, 5u);
  EXPECT_EQ(decoded->channels, 4u);
  EXPECT_EQ(decoded->pixels[3], 0);  // transparent corner
  EXPECT_EQ(decoded->pixels[decoded->pixels.size() - 1], 255);
}

TEST(PngCodec, SizesUpToTheLimits) {
  const struct {
    PictureSize size;
    bool decodable;
  } cases[] = {
      {{1, 1}, true},        {{0, 5}, false},        {{5, 0}, false},
      {{65535, 762}, true},  {{65536, 1}, false},    {{1, 65536}, false},
      {{10000, 5000}, true}, {{10000, 5001}, false}, {{50'000'000 / 65535, 65535}, true},
  };
  for (const auto& [size, decodable] : cases)
    EXPECT_EQ(isDecodablePngSize(size), decodable) << size.width << "x" << size.height;
  // Interlaced pictures are held whole: a lower limit.
  EXPECT_TRUE(isDecodablePngSize({4000, 4000}, true));
  EXPECT_FALSE(isDecodablePngSize({4000, 4001}, true));
  EXPECT_TRUE(isDecodablePngSize({4000, 4001}, false));
}

TEST(PngCodec, HostileAndBrokenPicturesGiveNothing) {
  const auto png = pngOf(rgbaRamp(64, 64));
  // A header that claims 60000 x 60000 pixels, and nothing after it.
  auto huge = std::vector<std::uint8_t>(png.begin(), png.begin() + 33);
  huge[16] = huge[20] = huge[17] = huge[21] = 0;
  huge[18] = huge[22] = 0xEA;
  huge[19] = huge[23] = 0x60;
  EXPECT_EQ(readPngSize(huge), (PictureSize{60000, 60000}));
  auto corrupt = png;
  corrupt[corrupt.size() / 2] ^= 0xFF;
  // An sPLT chunk behind the header that claims a gigabyte: refused before
  // libpng makes room for it.
  auto overlong = std::vector<std::uint8_t>(png.begin(), png.begin() + 33);
  for (const int byte : {0x3C, 0x00, 0x00, 0x00, int{'s'}, int{'P'}, int{'L'}, int{'T'}})
    overlong.push_back(static_cast<std::uint8_t>(byte));
  overlong.insert(overlong.end(), png.begin() + 33, png.end());
  const std::vector<std::vector<std::uint8_t>> cases{
      huge,
      std::vector<std::uint8_t>(png.begin(), png.end() - 20),  // the data cut short
      std::vector<std::uint8_t>(png.begin(), png.begin() + 23),
      corrupt,
      overlong,
      {},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_FALSE(decodePng(cases[i], 16)) << i;
  std::vector<std::uint8_t> out{1};
  EXPECT_FALSE(encodePng(DecodedPicture{2, 2, std::vector<std::uint8_t>(15)}, out));
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace tunora
