#include "jpeg/jpeg_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::fixturePath;

std::vector<std::uint8_t> fixture(const std::string& name) {
  auto bytes = readJpegFile(fixturePath("jpeg/" + name));
  EXPECT_TRUE(bytes.has_value()) << name;
  return bytes.value_or(std::vector<std::uint8_t>{});
}

// Blue, green, red of the pixel at (x, y).
std::array<int, 3> pixelAt(const DecodedPicture& picture, std::uint32_t x, std::uint32_t y) {
  const std::size_t at = (std::size_t{y} * picture.width + x) * 3;
  return {picture.pixels[at], picture.pixels[at + 1], picture.pixels[at + 2]};
}

TEST(JpegCodec, ReadsParametersOfEveryColourSpace) {
  const struct {
    const char* name;
    std::uint32_t channels;
  } cases[] = {{"ycbcr.jpg", 3}, {"grey.jpg", 1}, {"cmyk.jpg", 4}, {"progressive.jpg", 3}};
  for (const auto& c : cases) {
    const auto parameters = readJpegParameters(fixture(c.name));
    ASSERT_TRUE(parameters) << c.name;
    EXPECT_EQ(parameters->width, 40u) << c.name;
    EXPECT_EQ(parameters->height, 30u) << c.name;
    EXPECT_EQ(parameters->channels, c.channels) << c.name;
  }
}

TEST(JpegCodec, DecodesColourAndGreyToBlueGreenRed) {
  const auto colour = decodeJpeg(fixture("ycbcr.jpg"));
  ASSERT_TRUE(colour);
  ASSERT_EQ(colour->pixels.size(), 40u * 30u * 3u);
  // Red on the left, blue on the right, in blue-green-red byte order.
  const auto left = pixelAt(*colour, 0, 15);
  const auto right = pixelAt(*colour, 39, 15);
  EXPECT_GT(left[2], 200);
  EXPECT_LT(left[0], 60);
  EXPECT_GT(right[0], 200);
  EXPECT_LT(right[2], 60);

  const auto grey = decodeJpeg(fixture("grey.jpg"));
  ASSERT_TRUE(grey);
  ASSERT_EQ(grey->pixels.size(), 40u * 30u * 3u);
  const auto g = pixelAt(*grey, 20, 10);
  EXPECT_EQ(g[0], g[1]);
  EXPECT_EQ(g[1], g[2]);

  const auto progressive = decodeJpeg(fixture("progressive.jpg"));
  ASSERT_TRUE(progressive);
  EXPECT_GT(pixelAt(*progressive, 0, 15)[2], 200);
}

TEST(JpegCodec, RefusesWhatItCannotShow) {
  // Four channels cannot become blue-green-red without a colour conversion.
  EXPECT_FALSE(decodeJpeg(fixture("cmyk.jpg")));
  EXPECT_FALSE(readJpegParameters(fixture("png_named.jpg")));
  EXPECT_FALSE(decodeJpeg(fixture("png_named.jpg")));
  // The header is intact, the picture data breaks off.
  EXPECT_TRUE(readJpegParameters(fixture("truncated.jpg")));
  EXPECT_FALSE(decodeJpeg(fixture("truncated.jpg")));
  EXPECT_FALSE(readJpegParameters({}));
  const std::vector<std::uint8_t> marker{0xFF, 0xD8, 0xFF};
  EXPECT_FALSE(decodeJpeg(marker));
}

TEST(JpegCodec, RefusesPicturesBeyondThePixelLimit) {
  // 65535 x 65535 claimed in a file of a few hundred bytes.
  const auto huge = fixture("huge_header.jpg");
  EXPECT_LT(huge.size(), 1000u);
  EXPECT_FALSE(readJpegParameters(huge));
  EXPECT_FALSE(decodeJpeg(huge));
}

TEST(JpegCodec, EncodesAtQuality100AndReadsItBack) {
  DecodedPicture picture{17, 9, {}};
  for (std::uint32_t y = 0; y < picture.height; ++y)
    for (std::uint32_t x = 0; x < picture.width; ++x)
      picture.pixels.insert(picture.pixels.end(),
                            {static_cast<std::uint8_t>(x * 15), static_cast<std::uint8_t>(100),
                             static_cast<std::uint8_t>(y * 28)});
  std::vector<std::uint8_t> jpeg;
  ASSERT_EQ(encodeJpeg(picture, 100, jpeg), 0);
  const auto parameters = readJpegParameters(jpeg);
  ASSERT_TRUE(parameters);
  EXPECT_EQ(parameters->width, 17u);
  EXPECT_EQ(parameters->height, 9u);
  EXPECT_EQ(parameters->channels, 3u);
  const auto decoded = decodeJpeg(jpeg);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->pixels.size(), picture.pixels.size());
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    EXPECT_NEAR(decoded->pixels[i], picture.pixels[i], 12) << i;
}

TEST(JpegCodec, DecodesAtEighthsOfTheSizeRoundedUp) {
  const auto jpeg = testing::greyRampJpeg(17, 9);
  const struct {
    std::uint32_t eighths, width, height;
  } cases[] = {{8, 17, 9}, {4, 9, 5}, {1, 3, 2}, {3, 7, 4}, {0, 3, 2}, {9, 17, 9}};
  for (const auto& c : cases) {
    const auto decoded = decodeJpeg(jpeg, c.eighths);
    ASSERT_TRUE(decoded) << c.eighths;
    EXPECT_EQ(decoded->width, c.width) << c.eighths;
    EXPECT_EQ(decoded->height, c.height) << c.eighths;
    EXPECT_EQ(decoded->pixels.size(), std::size_t{c.width} * c.height * 3);
  }
}

TEST(JpegCodec, EncodeRefusesABufferThatDoesNotMatchItsSize) {
  std::vector<std::uint8_t> jpeg{1, 2, 3};
  EXPECT_EQ(encodeJpeg(DecodedPicture{2, 2, std::vector<std::uint8_t>(11)}, 90, jpeg),
            kJpegBadInput);
  EXPECT_TRUE(jpeg.empty());
  EXPECT_EQ(encodeJpeg(DecodedPicture{0, 0, {}}, 90, jpeg), kJpegBadInput);
  // Four bytes a pixel (a PNG's alpha) are no JPEG's.
  EXPECT_EQ(encodeJpeg(DecodedPicture{1, 1, std::vector<std::uint8_t>(4), 4}, 90, jpeg),
            kJpegBadInput);
}

TEST(JpegCodec, ReadsFilesWholeButNotMissingOnes) {
  testing::TempDir dir;
  EXPECT_FALSE(readJpegFile(dir.file("missing.jpg")));
  EXPECT_FALSE(readJpegFile(testing::toU16(dir.path())));
  ASSERT_TRUE(writeWholeFile(dir.file("empty.jpg"), {}));
  const auto empty = readJpegFile(dir.file("empty.jpg"));
  ASSERT_TRUE(empty);
  EXPECT_FALSE(readJpegParameters(*empty));
}

TEST(JpegCodec, SurvivesThePeerCorpusPictures) {
  // Files of the corpus are arbitrary bytes to the codec; none may crash it.
  const char* corpus = TUNORA_PEER_CORPUS_DIR;
  std::error_code error;
  if (!std::filesystem::is_directory(corpus, error)) GTEST_SKIP() << "no peer corpus";
  int seen = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus, error)) {
    if (!entry.is_regular_file() || entry.file_size() > 4 * 1024 * 1024) continue;
    const auto bytes = readJpegFile(testing::toU16(entry.path()));
    if (!bytes) continue;
    if (readJpegParameters(*bytes)) decodeJpeg(*bytes);
    ++seen;
  }
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace tunora
