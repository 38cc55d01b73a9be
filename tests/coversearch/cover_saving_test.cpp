#include "coversearch/cover_saving.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "io/file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

TEST(CoverFileName, FillsArtistAndAlbumAndKeepsTheNameUsable) {
  EXPECT_EQ(makeCoverFileName("folder.jpg", "A", "B"), "folder.jpg");
  EXPECT_EQ(makeCoverFileName("%a - %b - thumb.jpg", "A", "B"), "A - B - thumb.jpg");
  EXPECT_EQ(makeCoverFileName("%a%a-%b.jpg", "x", "%a"), "xx-%a.jpg");
  EXPECT_EQ(makeCoverFileName("%A %a.jpg", "AC/DC", "What?"), "%A AC_DC.jpg");
  EXPECT_EQ(makeCoverFileName("%a %b", "\\/:*?", "\"<>|ok"), "_____ ____ok");
}

// A picture whose every pixel carries its own row and column.
DecodedPicture numberedPicture(std::uint32_t width, std::uint32_t height) {
  DecodedPicture picture{width, height, {}};
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x)
      picture.pixels.insert(picture.pixels.end(), {std::uint8_t(x), std::uint8_t(y), 0xEE});
  return picture;
}

std::uint32_t at(const std::vector<std::uint8_t>& bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = size; i-- > 0;) value = value << 8 | bytes[offset + i];
  return value;
}

TEST(BitmapFile, HeaderAndPaddedBottomUpRowsForWidthsOneToFive) {
  for (std::uint32_t width = 1; width <= 5; ++width) {
    SCOPED_TRACE(width);
    const std::uint32_t height = 2;
    const auto bytes = bitmapFileBytes(numberedPicture(width, height));
    const std::uint32_t padding = width % 4;
    const std::uint32_t stride = width * 3 + padding;
    EXPECT_EQ(stride % 4, 0u);
    ASSERT_EQ(bytes.size(), 54u + stride * height);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(at(bytes, 2, 4), bytes.size());
    EXPECT_EQ(at(bytes, 6, 4), 0u);
    EXPECT_EQ(at(bytes, 10, 4), 54u);
    EXPECT_EQ(at(bytes, 14, 4), 40u);
    EXPECT_EQ(at(bytes, 18, 4), width);
    EXPECT_EQ(at(bytes, 22, 4), height);
    EXPECT_EQ(at(bytes, 26, 2), 1u);
    EXPECT_EQ(at(bytes, 28, 2), 24u);
    EXPECT_EQ(at(bytes, 30, 4), 0u);
    EXPECT_EQ(at(bytes, 34, 4), 0u);
    EXPECT_EQ(at(bytes, 38, 4), 3780u);
    EXPECT_EQ(at(bytes, 42, 4), 3780u);
    EXPECT_EQ(at(bytes, 46, 8), 0u);
    for (std::uint32_t row = 0; row < height; ++row) {
      const std::size_t start = 54 + row * stride;
      // The last picture row comes first.
      EXPECT_EQ(bytes[start + 1], height - 1 - row);
      EXPECT_EQ(bytes[start + (width - 1) * 3], width - 1);
      for (std::uint32_t p = 0; p < padding; ++p) EXPECT_EQ(bytes[start + width * 3 + p], 0);
    }
  }
}

TEST(DisplayFile, DecodableCoversOnly) {
  const auto fixture = [](const char* name) {
    return pathToNative(testing::fixturePath(std::string("jpeg/") + name));
  };
  const auto shown = makeDisplayFile(fixture("grey.jpg"));
  ASSERT_TRUE(shown);
  const auto bytes = readWholeFile(pathFromNative(*shown));
  deleteFile(std::string_view(*shown));
  ASSERT_TRUE(bytes);
  EXPECT_EQ(at(*bytes, 2, 4), bytes->size());
  EXPECT_EQ(at(*bytes, 28, 2), 24u);
  for (const char* bad :
       {"cmyk.jpg", "truncated.jpg", "png_named.jpg", "huge_header.jpg", "no.jpg"})
    EXPECT_FALSE(makeDisplayFile(fixture(bad))) << bad;
}

TEST(CopyFileVerified, CopiesExactlyAndReportsFailures) {
  testing::TempDir dir;
  std::vector<std::uint8_t> data(1024 * 3 + 1);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
  const auto source = pathToNative(dir.file("cover.jpg"));
  ASSERT_TRUE(writeWholeFile(pathFromNative(source), data));
  for (const std::size_t size : {std::size_t{0}, std::size_t{1024}, data.size()}) {
    ASSERT_TRUE(writeWholeFile(pathFromNative(source), std::span(data).first(size)));
    const auto target = pathToNative(dir.file("folder.jpg"));
    ASSERT_TRUE(copyFileVerified(source, target));
    EXPECT_EQ(readWholeFile(pathFromNative(target)),
              std::vector<std::uint8_t>(data.begin(), data.begin() + size));
  }
  EXPECT_FALSE(
      copyFileVerified(pathToNative(dir.file("missing.jpg")), pathToNative(dir.file("x.jpg"))));
  EXPECT_FALSE(fileExists(dir.file("x.jpg")));
  EXPECT_FALSE(copyFileVerified(source, pathToNative(dir.file("no/such/folder.jpg"))));
  // A copy that fails leaves the target as it was.
  const auto earlier = pathToNative(dir.file("earlier.jpg"));
  ASSERT_TRUE(writeWholeFile(pathFromNative(earlier), std::vector<std::uint8_t>{1, 2}));
  EXPECT_FALSE(copyFileVerified(pathToNative(dir.file("missing.jpg")), earlier));
  EXPECT_EQ(readWholeFile(pathFromNative(earlier)), (std::vector<std::uint8_t>{1, 2}));
  // A link planted under the target's name is replaced, never written through.
  std::error_code noLinks;
  std::filesystem::create_symlink(toFsPath(pathFromNative(earlier)), dir.path() / "linked.jpg",
                                  noLinks);
  if (noLinks) return;
  ASSERT_TRUE(copyFileVerified(source, pathToNative(dir.file("linked.jpg"))));
  EXPECT_EQ(readWholeFile(pathFromNative(earlier)), (std::vector<std::uint8_t>{1, 2}));
  EXPECT_FALSE(std::filesystem::is_symlink(dir.path() / "linked.jpg"));
}

}  // namespace
}  // namespace tunora
