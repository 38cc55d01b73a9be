#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "htmlcreator/cover_cache.h"
#include "htmlcreator/cover_export.h"
#include "htmlcreator/cover_files.h"
#include "htmlcreator/html_creator.h"
#include "htmlcreator/page_support.h"
#include "htmlcreator/temp_covers.h"
#include "image/image_support.h"
#include "image/png_codec.h"
#include "io/file.h"
#include "support/temp_dir.h"
#include "text/number_text.h"

namespace tunora {
namespace {

using testing::greyRampJpeg;
using testing::linesOf;
using testing::makeJpeg;
using testing::makeTrack;
using testing::textOf;
using testing::toU16;

std::vector<std::uint8_t> colourJpeg(std::uint32_t width, std::uint32_t height) {
  return makeJpeg(width, height, [](std::uint32_t x, std::uint32_t y) {
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x), 90,
                                       static_cast<std::uint8_t>(y)};
  });
}

std::vector<std::uint8_t> fixture(const std::string& name) {
  return readWholeFile(testing::fixturePath("jpeg/" + name)).value_or(std::vector<std::uint8_t>{});
}

class CoverExport : public testing::PageTest {
 protected:
  CoverExport() {
    host.folder = toU16(dir.path() / "covers") + static_cast<char16_t>(kPathSeparator);
    std::filesystem::create_directories(dir.path() / "music");
  }
  std::u16string music(const std::string& name) const {
    return testing::nativePath(dir.path(), "music/" + name);
  }
  std::u16string cover(const std::string& name) const {
    return testing::nativePath(dir.path(), "covers/" + name);
  }
  std::string coverText(const std::string& name) const { return convertUTF16ToUTF8(cover(name)); }

  testing::TempDir dir;
};

constexpr std::string_view kCoverSection =
    "<$coverbegin$>\n<img src=\"<$cover$>\" width=\"<$coverwidth$>\" "
    "height=\"<$coverheight$>\">\n<$coverend$>";

TEST_F(CoverExport, ACoverFileBesideTheTrackIsShownThroughItsCopy) {
  const auto jpeg = colourJpeg(300, 300);
  ASSERT_TRUE(writeWholeFile(music("folder.jpg"), jpeg));
  tracks.add(makeTrack({.file = music("a.mp3")}));
  EXPECT_EQ(fill(kCoverSection),
            "\n<img src=\"" + coverText("_tmptrk0.jpg") + "\" width=\"300\" height=\"300\">\n");
  EXPECT_EQ(readWholeFile(cover("_tmptrk0.jpg")), jpeg);
}

TEST_F(CoverExport, ARecolouredCoverIsAStretchedGreyAndTheOriginalStays) {
  const auto jpeg = greyRampJpeg(64, 8);
  ASSERT_TRUE(writeWholeFile(music("folder.jpg"), jpeg));
  tracks.add(makeTrack({.file = music("a.mp3")}));
  TextLines page =
      linesOf("<$coverdark='#000000'$><$coverlight='#FFFFFF'$>\n" + std::string(kCoverSection));
  creator.processTemplate(page, tracks, newRun());
  EXPECT_EQ(readWholeFile(music("folder.jpg")), jpeg);
  const auto recoloured = decodeJpeg(*readWholeFile(cover("_tmptrk0.jpg")));
  ASSERT_TRUE(recoloured);
  const auto [lowest, highest] =
      std::minmax_element(recoloured->pixels.begin(), recoloured->pixels.end());
  EXPECT_LE(*lowest, 3);
  EXPECT_GE(*highest, 252);
}

TEST_F(CoverExport, EmbeddedPicturesAreWrittenOnceAndReused) {
  tracks.add(makeTrack({.file = music("a.mp3"), .cover = colourJpeg(20, 10)}));
  const std::string expected =
      "\n<img src=\"" + coverText("_tmptrk0.jpg") + "\" width=\"20\" height=\"10\">\n";
  EXPECT_EQ(fill(kCoverSection), expected);
  ASSERT_TRUE(tracks.trackCover(0)->settled);
  // A second section of the same track reuses the settled cover.
  std::filesystem::remove(dir.path() / "covers" / "_tmptrk0.jpg");
  EXPECT_EQ(fill(kCoverSection), expected);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "covers" / "_tmptrk0.jpg"));
}

TEST_F(CoverExport, EqualPicturesAreMadeOnceAndEveryTrackKeepsItsOwnFile) {
  // Three tracks of one album and one with another picture, recoloured; the
  // album's cover file beside a track without picture counts as the same.
  const auto album = greyRampJpeg(32, 8);
  const auto other = colourJpeg(16, 16);
  ASSERT_TRUE(writeWholeFile(music("folder.jpg"), album));
  for (int i = 0; i < 3; ++i) tracks.add(makeTrack({.file = music("a.mp3"), .cover = album}));
  tracks.add(makeTrack({.file = music("b.mp3"), .cover = other}));
  tracks.add(makeTrack({.file = music("c.mp3")}));
  TextLines page = linesOf(
      "<$coverdark='#102030'$><$coverlight='#F0E0D0'$>\n<$trackbegin$>\n<$cover$> "
      "<$coverwidth$>x<$coverheight$>\n<$trackend$>");
  creator.processTemplate(page, tracks, newRun());
  const std::string text = textOf(page);
  for (int i = 0; i < 5; ++i) {
    const std::string size = i == 3 ? " 16x16" : " 32x8";
    EXPECT_NE(text.find(coverText("_tmptrk" + std::to_string(i) + ".jpg") + size),
              std::string::npos)
        << i << text;
  }
  EXPECT_EQ(run->covers.preparedCount(), 2u);
  const auto first = readWholeFile(cover("_tmptrk0.jpg"));
  ASSERT_TRUE(first);
  EXPECT_NE(*first, album);  // recoloured
  for (const char* name : {"_tmptrk1.jpg", "_tmptrk2.jpg", "_tmptrk4.jpg"})
    EXPECT_EQ(readWholeFile(cover(name)), first) << name;
  EXPECT_NE(readWholeFile(cover("_tmptrk3.jpg")), first);
}

TEST(CoverCacheUnit, TheDuotoneAndTheBytesMakeTheKey) {
  const auto jpeg = testing::greyRampJpeg(16, 4);
  CoverCache cache;
  const Duotone blue{u"#000000", u"#0000FF"};
  const Duotone red{u"#000000", u"#FF0000"};
  const PreparedCover* plain = cache.prepare(jpeg, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->bytes, jpeg);
  EXPECT_EQ(plain->width, 16u);
  ASSERT_NE(cache.prepare(jpeg, &blue), nullptr);
  const auto blueBytes = cache.prepare(jpeg, &blue)->bytes;
  EXPECT_NE(cache.prepare(jpeg, &red)->bytes, blueBytes);
  EXPECT_EQ(cache.prepare(jpeg, &blue)->bytes, blueBytes);
  // One byte more is another picture; a failure is kept as one too.
  auto longer = jpeg;
  longer.push_back(0);
  EXPECT_NE(cache.prepare(longer, nullptr), nullptr);
  const std::vector<std::uint8_t> broken(200, 0xFF);
  EXPECT_EQ(cache.prepare(broken, nullptr), nullptr);
  EXPECT_EQ(cache.prepare(broken, nullptr), nullptr);
  EXPECT_EQ(cache.preparedCount(), 5u);
}

TEST(CoverCacheUnit, ACoverOverTheBudgetIsKeptUntilTheNextOne) {
  // Kept as it is, a picture takes its bytes twice: as source and as cover.
  const auto a = testing::greyRampJpeg(16, 4);
  const auto b = testing::greyRampJpeg(16, 5);
  const struct {
    std::size_t budget;
    std::size_t prepared;  // after a, a, b, b, a
  } cases[] = {{2 * a.size(), 2}, {2 * a.size() - 1, 3}, {0, 3}, {2 * (a.size() + b.size()), 2}};
  for (const auto& [budget, prepared] : cases) {
    CoverCache cache(budget);
    for (const auto* picture : {&a, &a, &b, &b, &a}) {
      const PreparedCover* cover = cache.prepare(*picture, nullptr);
      ASSERT_NE(cover, nullptr);
      EXPECT_EQ(cover->bytes, *picture);
    }
    EXPECT_EQ(cache.preparedCount(), prepared) << budget;
  }
}

TEST_F(CoverExport, PicturesThatCannotBeShownRemoveTheCoverSection) {
  const std::vector<std::vector<std::uint8_t>> bad{
      std::vector<std::uint8_t>(80, 0xFF), fixture("truncated.jpg"), fixture("huge_header.jpg")};
  for (const auto& picture : bad) tracks.add(makeTrack({.file = music("a.mp3"), .cover = picture}));
  for (std::size_t i = 0; i < bad.size(); ++i) {
    // A cover token outside the section keeps the path it was given.
    EXPECT_EQ(fill("<$cover$>\n" + std::string(kCoverSection) + "\n<$coverwidth$>.", i),
              coverText("_tmptrk" + std::to_string(i) + ".jpg") + "\n\n\n\n.")
        << i;
    EXPECT_EQ(tracks.trackCover(i)->name, kCoverNotFound);
    // The settled failure removes the section again, and the stray token stays.
    EXPECT_EQ(fill("<$cover$>\n" + std::string(kCoverSection), i), "<$cover$>\n\n\n");
  }
}

TEST_F(CoverExport, WithoutPictureOrCoverFileTheTokensStay) {
  tracks.add(makeTrack({.file = music("a.mp3")}));
  tracks.add(makeTrack({.file = music("b.mp3")}));
  EXPECT_EQ(fill("<$cover$> <$coverwidth$>x<$coverheight$>", 0), "<$cover$> x");
  EXPECT_EQ(tracks.trackCover(0)->name, kCoverNotFound);
  // An empty cover file is found but is no picture: the path stands, no size.
  ASSERT_TRUE(writeWholeFile(music("folder.jpg"), {}));
  EXPECT_EQ(fill("<$cover$> <$coverwidth$>x<$coverheight$>", 1), coverText("_tmptrk1.jpg") + " x");
  EXPECT_EQ(tracks.trackCover(1)->name, kCoverNotFound);
}

TEST_F(CoverExport, TheNamePatternIsExpandedWithTheTrackValues) {
  settings.coverName = u"%a-%B (%y).jpg";
  ASSERT_TRUE(writeWholeFile(music("X-Y (2001).jpg"), colourJpeg(8, 8)));
  tracks.add(makeTrack({.file = music("a.mp3"), .artist = u"X", .album = u"Y", .year = u"2001"}));
  // A value with a separator cannot name a file beside the track.
  std::filesystem::create_directories(dir.path() / "music" / "..");
  tracks.add(
      makeTrack({.file = music("b.mp3"), .artist = u"../music/X", .album = u"Y", .year = u"2001"}));
  EXPECT_EQ(fill("<$cover$>", 0), coverText("_tmptrk0.jpg"));
  EXPECT_EQ(fill("<$cover$>", 1), "<$cover$>");
}

TEST_F(CoverExport, WithoutCoverFolderNoCoverIsShown) {
  host.folder.reset();
  tracks.add(makeTrack({.file = music("a.mp3"), .cover = colourJpeg(8, 8)}));
  EXPECT_EQ(fill(std::string(kCoverSection) + "\n<$cover$>"), "\n\n\n<$cover$>");
}

TEST_F(CoverExport, TheGroupCoverComesFromTheFirstTrackFolder) {
  settings.coverName = u"%a.jpg";
  ASSERT_TRUE(writeWholeFile(music("Various Artists.jpg"), colourJpeg(30, 20)));
  tracks.add(makeTrack({.file = music("a.mp3"), .artist = u"A"}));
  tracks.add(makeTrack({.file = music("b.mp3"), .artist = u"B"}));
  TextLines page = linesOf(std::string(kCoverSection) + "\n<$trackbegin$>\n<$trackend$>\n" +
                           std::string(kCoverSection));
  creator.processTemplate(page, tracks, newRun());
  const std::string shown =
      "<img src=\"" + coverText("_tmpdir.jpg") + "\" width=\"30\" height=\"20\">";
  EXPECT_EQ(textOf(page), "\n" + shown + "\n\n\n" + shown + "\n");
}

TEST_F(CoverExport, TheGroupTakesTheFirstEmbeddedPicture) {
  const auto second = colourJpeg(12, 6);
  tracks.add(makeTrack({.file = music("a.mp3")}));
  tracks.add(makeTrack({.file = music("b.mp3"), .cover = second}));
  TextLines page = linesOf("<$cover$> <$coverwidth$>");
  MultipleTags& group = tracks;
  creator.fillGroup(page, group, newRun());
  EXPECT_EQ(textOf(page), coverText("_tmpdir.jpg") + " 12");
  EXPECT_EQ(readWholeFile(cover("_tmpdir.jpg")), second);
}

TEST_F(CoverExport, GreyCoversAreCopiedWithTheirSize) {
  const auto grey = fixture("grey.jpg");
  ASSERT_TRUE(writeWholeFile(music("folder.jpg"), grey));
  tracks.add(makeTrack({.file = music("a.mp3")}));
  EXPECT_EQ(fill("<$cover$> <$coverwidth$>x<$coverheight$>"), coverText("_tmptrk0.jpg") + " 40x30");
  EXPECT_EQ(readWholeFile(cover("_tmptrk0.jpg")), grey);
}

TEST(PrepareCover, PngAndCmykAreKeptAsTheyAreButNotRecoloured) {
  const Duotone duotone{u"#000000", u"#FFFFFF"};
  for (const char* name : {"png_named.jpg", "cmyk.jpg"}) {
    const auto bytes = fixture(name);
    const auto cover = prepareCover(bytes, nullptr);
    ASSERT_TRUE(cover) << name;
    EXPECT_GT(cover->width, 0u);
    EXPECT_GT(cover->height, 0u);
    EXPECT_EQ(cover->bytes, bytes);
    EXPECT_FALSE(prepareCover(bytes, &duotone)) << name;
  }
  EXPECT_FALSE(prepareCover(fixture("truncated.jpg"), nullptr));
}

// Blue rising from left to right, red from top to bottom.
std::vector<std::uint8_t> gradientJpeg(std::uint32_t width, std::uint32_t height) {
  return makeJpeg(width, height, [=](std::uint32_t x, std::uint32_t y) {
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(x * 255 / (width - 1)), 128,
                                       static_cast<std::uint8_t>(y * 255 / (height - 1))};
  });
}

TEST(PrepareCover, LargerCoversAreScaledToFitSmallerOnesKeepTheirBytes) {
  const struct {
    std::uint32_t width, height;
    std::uint32_t shownWidth, shownHeight;
  } cases[] = {
      // Thin pictures keep the test fast; only the longer side decides.
      {1000, 16, 1000, 16}, {1001, 16, 1000, 16}, {16, 1001, 16, 1000}, {1001, 1000, 1000, 999},
      {2000, 24, 1000, 12}, {1601, 24, 1000, 15}, {3000, 20, 1000, 7},
  };
  for (const auto& c : cases) {
    const auto jpeg = gradientJpeg(c.width, c.height);
    const auto cover = prepareCover(jpeg, nullptr);
    ASSERT_TRUE(cover) << c.width << "x" << c.height;
    EXPECT_EQ(cover->width, c.shownWidth);
    EXPECT_EQ(cover->height, c.shownHeight);
    const bool scaled = c.shownWidth != c.width || c.shownHeight != c.height;
    EXPECT_EQ(cover->bytes == jpeg, !scaled) << c.width << "x" << c.height;
    const auto shown = decodeJpeg(cover->bytes);
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->width, c.shownWidth);
    ASSERT_EQ(shown->height, c.shownHeight);
    // The gradients stay where they were (on sides long enough for a
    // gentle one: JPEG blurs colour over a few pixels).
    for (const auto& [x, y] : {std::pair{0u, 0u},
                               {c.shownWidth / 2, c.shownHeight / 2},
                               {c.shownWidth - 1, c.shownHeight - 1}}) {
      const std::uint8_t* pixel = &shown->pixels[(y * shown->width + x) * 3];
      if (c.shownWidth > 100) {
        EXPECT_NEAR(pixel[0], x * 255.0 / (c.shownWidth - 1), 6) << c.width << " at " << x;
      }
      if (c.shownHeight > 100) {
        EXPECT_NEAR(pixel[2], y * 255.0 / (c.shownHeight - 1), 6) << c.height << " at " << y;
      }
    }
  }
}

TEST(PrepareCover, TheExifOrientationTurnsTheCoverUpright) {
  // Left half red, right half blue, stored 40 x 20; and a large one, stored
  // sideways, that is scaled as well.
  const auto halves = [](std::uint32_t width, std::uint32_t height) {
    return makeJpeg(width, height, [=](std::uint32_t x, std::uint32_t) {
      return x < width / 2 ? std::array<std::uint8_t, 3>{0, 0, 255}
                           : std::array<std::uint8_t, 3>{255, 0, 0};
    });
  };
  const auto small = halves(40, 20);
  const auto large = halves(1200, 16);
  enum Colour { Red, Blue };
  const struct {
    const std::vector<std::uint8_t>* stored;
    std::uint16_t orientation;
    std::uint32_t width, height;
    Colour topLeft, bottomRight;
  } cases[] = {
      {&small, 1, 40, 20, Red, Blue},   {&small, 2, 40, 20, Blue, Red},
      {&small, 3, 40, 20, Blue, Red},   {&small, 4, 40, 20, Red, Blue},
      {&small, 5, 20, 40, Red, Blue},   {&small, 6, 20, 40, Red, Blue},
      {&small, 7, 20, 40, Blue, Red},   {&small, 8, 20, 40, Blue, Red},
      {&small, 9, 40, 20, Red, Blue},   {&large, 6, 13, 1000, Red, Blue},
      {&large, 1, 1000, 13, Red, Blue},
  };
  for (const auto& c : cases) {
    const auto jpeg = testing::withOrientation(*c.stored, c.orientation);
    const auto cover = prepareCover(jpeg, nullptr);
    ASSERT_TRUE(cover) << c.orientation;
    EXPECT_EQ(cover->width, c.width) << c.orientation;
    EXPECT_EQ(cover->height, c.height) << c.orientation;
    // Upright pictures of the page's size go as they are.
    EXPECT_EQ(cover->bytes == jpeg,
              c.stored == &small && (c.orientation == 1 || c.orientation == 9))
        << c.orientation;
    const auto shown = decodeJpeg(cover->bytes);
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->width, c.width);
    const auto colourAt = [&](std::size_t pixel) {
      const std::uint8_t* bgr = &shown->pixels[pixel * 3];
      return bgr[0] > bgr[2] ? Blue : Red;
    };
    EXPECT_EQ(colourAt(0), c.topLeft) << c.orientation;
    EXPECT_EQ(colourAt(std::size_t{c.width} * c.height - 1), c.bottomRight) << c.orientation;
  }
}

TEST(PrepareCover, ALargeCoverIsRecolouredAtThePageSize) {
  const Duotone duotone{u"#000000", u"#FFFFFF"};
  const auto cover = prepareCover(greyRampJpeg(1200, 12), &duotone);
  ASSERT_TRUE(cover);
  EXPECT_EQ(cover->width, 1000u);
  EXPECT_EQ(cover->height, 10u);
  const auto shown = decodeJpeg(cover->bytes);
  ASSERT_TRUE(shown);
  const auto [lowest, highest] = std::minmax_element(shown->pixels.begin(), shown->pixels.end());
  EXPECT_LE(*lowest, 3);
  EXPECT_GE(*highest, 252);
}

TEST(PrepareCover, LargePngCoversAreScaledWithTheirTransparency) {
  // Transparent on the left third, opaque green on the rest.
  const auto png = [](std::uint32_t side) {
    std::vector<std::uint8_t> bytes;
    encodePng(testing::pictureOf(side, 12, 4,
                                 [=](std::uint32_t x, std::uint32_t) {
                                   return x < side / 3
                                              ? std::array<std::uint8_t, 4>{0, 0, 0, 0}
                                              : std::array<std::uint8_t, 4>{0, 200, 0, 255};
                                 }),
              bytes);
    return bytes;
  };
  const auto atLimit = png(1000);
  const auto cover = prepareCover(atLimit, nullptr);
  ASSERT_TRUE(cover);
  EXPECT_EQ(cover->bytes, atLimit);
  const auto larger = prepareCover(png(1001), nullptr);
  ASSERT_TRUE(larger);
  EXPECT_EQ(larger->width, 1000u);
  EXPECT_EQ(larger->height, 12u);
  const auto shown = decodePng(larger->bytes, 1000);
  ASSERT_TRUE(shown);
  ASSERT_EQ(shown->channels, 4u);
  const std::uint8_t* left = &shown->pixels[0];
  const std::uint8_t* right = &shown->pixels[(1000 * 12 - 1) * 4];
  EXPECT_EQ(left[3], 0);
  EXPECT_EQ((std::array{right[0], right[1], right[2], right[3]}),
            (std::array<std::uint8_t, 4>{0, 200, 0, 255}));
  // A header that claims a huge picture gives no cover, without decoding.
  auto huge = std::vector<std::uint8_t>(atLimit.begin(), atLimit.begin() + 33);
  huge[18] = huge[22] = 0x7F;
  EXPECT_FALSE(prepareCover(huge, nullptr));
}

TEST_F(CoverExport, APageShowsALargeCoverAtItsSize) {
  ASSERT_TRUE(writeWholeFile(music("folder.jpg"), gradientJpeg(1500, 12)));
  tracks.add(makeTrack({.file = music("a.mp3")}));
  EXPECT_EQ(fill(kCoverSection),
            "\n<img src=\"" + coverText("_tmptrk0.jpg") + "\" width=\"1000\" height=\"8\">\n");
  const auto copied = readJpegParameters(*readWholeFile(cover("_tmptrk0.jpg")));
  ASSERT_TRUE(copied);
  EXPECT_EQ(copied->width, 1000u);
}

TEST(RecolourPicture, MapsDarkestAndBrightestOntoTheTwoColours) {
  // Blue-green-red: a black, a mid-grey and a white pixel.
  std::vector<std::uint8_t> pixels{0, 0, 0, 128, 128, 128, 255, 255, 255};
  recolourPicture(pixels, {u"#102030", u"#F0E0D0"});
  // The grey factors as single-precision constants sum to a little under 1:
  // white becomes grey 254 and the middle 127, halfway up.
  EXPECT_EQ(pixels,
            (std::vector<std::uint8_t>{0x30, 0x20, 0x10, 0x80, 0x80, 0x80, 0xD0, 0xE0, 0xF0}));
  // Equal channels of both colours keep that channel flat; so does one grey.
  std::vector<std::uint8_t> flat{10, 20, 30, 10, 20, 30};
  recolourPicture(flat, {u"#ABCDEF", u"#000000"});
  EXPECT_EQ(flat, (std::vector<std::uint8_t>{0xEF, 0xCD, 0xAB, 0xEF, 0xCD, 0xAB}));
  // Not a whole number of pixels: untouched. Non-hex digits count as 0 (but
  // the "BB" of the literal "#RRGGBB" is a blue of 0xBB).
  std::vector<std::uint8_t> odd{1, 2, 3, 4};
  recolourPicture(odd, {u"#000000", u"#FFFFFF"});
  EXPECT_EQ(odd, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  std::vector<std::uint8_t> literal{0, 0, 0, 255, 255, 255};
  recolourPicture(literal, {u"#RRGGBB", u"#zz00zz"});
  EXPECT_EQ(literal, (std::vector<std::uint8_t>{0xBB, 0, 0, 0, 0, 0}));
}

TEST(RecolourPicture, EqualsThePixelByPixelFormula) {
  // Every grey level and odd mixes of channels, under duotones that rise,
  // fall and stay flat per channel.
  std::vector<std::uint8_t> pixels;
  for (int v = 0; v < 256; ++v)
    pixels.insert(pixels.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v),
                                 static_cast<std::uint8_t>(v * 7)});
  for (const Duotone& duotone : {Duotone{u"#000000", u"#FFFFFF"}, Duotone{u"#F0E0D0", u"#102030"},
                                 Duotone{u"#808080", u"#80FF00"}}) {
    std::vector<std::uint8_t> expected = pixels;
    int lowest = 255;
    int highest = 0;
    for (std::size_t i = 0; i < expected.size(); i += 3) {
      const double sum = static_cast<double>(0.3f) * expected[i + 2] +
                         static_cast<double>(0.59f) * expected[i + 1] +
                         static_cast<double>(0.11f) * expected[i];
      const auto grey = static_cast<std::uint8_t>(std::clamp(sum, 0.0, 255.0));
      expected[i] = expected[i + 1] = expected[i + 2] = grey;
      lowest = std::min<int>(lowest, grey);
      highest = std::max<int>(highest, grey);
    }
    const auto channel = [](std::u16string_view colour, std::size_t at) {
      return hexDigitValue(colour[at]) * 16 + hexDigitValue(colour[at + 1]);
    };
    for (std::size_t i = 0; i < expected.size(); i += 3) {
      const int grey = expected[i];
      for (std::size_t c = 0; c < 3; ++c) {
        const int dark = channel(duotone.dark, 5 - 2 * c);
        const int light = channel(duotone.light, 5 - 2 * c);
        const int value = static_cast<int>(std::trunc(
            static_cast<double>((grey - lowest) * (light - dark)) / (highest - lowest) + dark));
        expected[i + c] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
      }
    }
    std::vector<std::uint8_t> recoloured = pixels;
    recolourPicture(recoloured, duotone);
    EXPECT_EQ(recoloured, expected) << convertUTF16ToUTF8(duotone.light);
  }
}

TEST(TempCovers, PathsAndDeletionPastAGap) {
  testing::TempDir dir;
  testing::FolderHostLink host;
  host.folder = toU16(dir.path()) + static_cast<char16_t>(kPathSeparator);
  EXPECT_EQ(trackCoverPath(host, 12), *host.folder + u"_tmptrk12.jpg");
  for (const char* name : {"_tmpdir.jpg", "_tmptrk0.jpg", "_tmptrk2.jpg", "_tmptrk.jpg", "a.jpg"})
    ASSERT_TRUE(writeWholeFile(dir.file(name), std::vector<std::uint8_t>{1}));
  {
    // Kept at the end: the page that shows them outlives their owner.
    const TempCovers kept(host, TempCovers::AtEnd::Keep);
  }
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "_tmptrk0.jpg"));
  { const TempCovers owned(host, TempCovers::AtEnd::Delete); }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "_tmpdir.jpg"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "_tmptrk0.jpg"));
  // A track without a cover leaves a gap; the files after it go as well.
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "_tmptrk2.jpg"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "_tmptrk.jpg"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "a.jpg"));

  // Too long a folder, or none: no path.
  host.folder = std::u16string(kMaxPathLength, u'x') + u"/";
  EXPECT_FALSE(groupCoverPath(host));
  host.folder.reset();
  EXPECT_FALSE(trackCoverPath(host, 0));
}

TEST(TempCovers, OnlyOurOwnNamesAndPathsUpToTheLimit) {
  const struct {
    std::u16string_view name;
    bool ours;
  } names[] = {{u"_tmptrk0.jpg", true},     {u"_tmptrk12.jpg", true},  {u"_tmptrk.jpg", false},
               {u"_tmptrk0.jpeg", false},   {u"_tmptrk0.JPG", false},  {u"_tmptrk-1.jpg", false},
               {u"x_tmptrk0.jpg", false},   {u"_tmptrk0a.jpg", false}, {u"_tmpdir.jpg", false},
               {u"_tmptrk0.jpg.txt", false}};
  for (const auto& [name, ours] : names)
    EXPECT_EQ(isTrackCoverName(name), ours) << convertUTF16ToUTF8(name);

  testing::FolderHostLink host;
  const std::size_t groupName = std::u16string_view(u"_tmpdir.jpg").size();
  const std::size_t trackName = std::u16string_view(u"_tmptrk0.jpg").size();
  host.folder = std::u16string(kMaxPathLength - groupName, u'x');
  EXPECT_TRUE(groupCoverPath(host));
  host.folder = std::u16string(kMaxPathLength - groupName + 1, u'x');
  EXPECT_FALSE(groupCoverPath(host));
  host.folder = std::u16string(kMaxPathLength - trackName, u'x');
  EXPECT_TRUE(trackCoverPath(host, 0));
  EXPECT_FALSE(trackCoverPath(host, 10));
}

#ifndef _WIN32
TEST(TempCovers, AFolderThatIsALinkIsNeitherWrittenNorCleared) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.path() / "real");
  ASSERT_TRUE(writeWholeFile(dir.file("real/_tmptrk0.jpg"), std::vector<std::uint8_t>{1}));
  std::filesystem::create_directory_symlink(dir.path() / "real", dir.path() / "link");
  testing::FolderHostLink host;
  host.folder = toU16(dir.path() / "link") + u"/";
  { const TempCovers owned(host, TempCovers::AtEnd::Delete); }
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "real" / "_tmptrk0.jpg"));
  EXPECT_FALSE(prepareTempCover(*trackCoverPath(host, 1)));
}
#endif

TEST(TempCovers, PreparingMakesTheFolderOrAnOldFileWritable) {
  testing::TempDir dir;
  const std::u16string inNewFolder = testing::nativePath(dir.path(), "new/_tmptrk0.jpg");
  EXPECT_TRUE(prepareTempCover(inNewFolder));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "new"));
  ASSERT_TRUE(writeWholeFile(inNewFolder, std::vector<std::uint8_t>{1}));
  std::filesystem::permissions(dir.path() / "new" / "_tmptrk0.jpg",
                               std::filesystem::perms::owner_read);
  EXPECT_TRUE(prepareTempCover(inNewFolder));
  // Replaced, read-only before.
  EXPECT_TRUE(writeWholeFile(inNewFolder, std::vector<std::uint8_t>{2, 3}));
  EXPECT_EQ(readWholeFile(inNewFolder), (std::vector<std::uint8_t>{2, 3}));
  // A folder that cannot be made: the parent is missing too.
  EXPECT_FALSE(prepareTempCover(testing::nativePath(dir.path(), "a/b/_tmpdir.jpg")));
}

}  // namespace
}  // namespace tunora
