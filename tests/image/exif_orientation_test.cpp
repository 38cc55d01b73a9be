#include "image/exif_orientation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "image/image_support.h"

namespace tunora {
namespace {

using testing::exifTiff;
using testing::withSegment;

using Bytes = std::vector<std::uint8_t>;

const Bytes kJpegStart{0xFF, 0xD8};
const Bytes kJpegRest{0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9};

Bytes app1(const Bytes& tiff) {
  Bytes payload{'E', 'x', 'i', 'f', 0, 0};
  payload.insert(payload.end(), tiff.begin(), tiff.end());
  return withSegment(0xE1, payload);
}

Bytes jpegOf(std::initializer_list<Bytes> segments) {
  Bytes jpeg = kJpegStart;
  for (const Bytes& segment : segments) jpeg.insert(jpeg.end(), segment.begin(), segment.end());
  jpeg.insert(jpeg.end(), kJpegRest.begin(), kJpegRest.end());
  return jpeg;
}

TEST(ExifOrientation, EachValueInEitherByteOrder) {
  // 0 and 9 are no orientation: the picture is taken as it is stored.
  const struct {
    std::uint16_t value;
    Orientation expected;
  } cases[] = {{0, Orientation::Upright},
               {1, Orientation::Upright},
               {2, Orientation::Mirrored},
               {3, Orientation::UpsideDown},
               {4, Orientation::MirroredUpsideDown},
               {5, Orientation::Transposed},
               {6, Orientation::TurnedRight},
               {7, Orientation::Transversed},
               {8, Orientation::TurnedLeft},
               {9, Orientation::Upright},
               {0x0600, Orientation::Upright}};
  for (const bool bigEndian : {false, true})
    for (const auto& [value, expected] : cases) {
      EXPECT_EQ(exifOrientation(exifTiff(value, {.bigEndian = bigEndian})), expected)
          << value << " big-endian " << bigEndian;
      EXPECT_EQ(jpegOrientation(jpegOf({app1(exifTiff(value, {.bigEndian = bigEndian}))})),
                expected)
          << value;
    }
}

TEST(ExifOrientation, MalformedTiffIsUpright) {
  const Bytes good = exifTiff(6, {});
  ASSERT_EQ(exifOrientation(good), Orientation::TurnedRight);
  Bytes noMagic = good;
  noMagic[2] = 43;
  Bytes mixedOrder = good;
  mixedOrder[1] = 'M';
  Bytes ifdPastEnd = good;
  ifdPastEnd[4] = static_cast<std::uint8_t>(good.size() + 1);
  const Bytes cases[] = {
      {},
      noMagic,
      mixedOrder,
      ifdPastEnd,
      exifTiff(6, {.type = 4}),             // a LONG is not the tag's type
      exifTiff(6, {.count = 0}),            // no value
      Bytes(good.begin(), good.end() - 5),  // the entry cut short
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(exifOrientation(cases[i]), Orientation::Upright) << i;
}

TEST(ExifOrientation, TheTagIsFoundAmongOthersUpToTheLastWholeEntry) {
  // The tag as the third of three entries, the table ending with the data.
  const Bytes third = exifTiff(8, {.entriesBefore = 2, .nextIfd = false});
  EXPECT_EQ(exifOrientation(third), Orientation::TurnedLeft);
  // One byte short of the last entry: the count claims more than there is.
  EXPECT_EQ(exifOrientation(Bytes(third.begin(), third.end() - 1)), Orientation::Upright);
}

TEST(ExifOrientation, TheFirstExifBlockBeforeTheScanCounts) {
  const Bytes jfif = withSegment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});
  const Bytes xmp = withSegment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 0});
  EXPECT_EQ(jpegOrientation(jpegOf({jfif, xmp, app1(exifTiff(3, {}))})), Orientation::UpsideDown);
  EXPECT_EQ(jpegOrientation(jpegOf({app1(exifTiff(3, {})), app1(exifTiff(6, {}))})),
            Orientation::UpsideDown);
  // Fill bytes before a marker are allowed.
  Bytes filled = jpegOf({app1(exifTiff(6, {}))});
  filled.insert(filled.begin() + 2, {0xFF, 0xFF});
  EXPECT_EQ(jpegOrientation(filled), Orientation::TurnedRight);
  // After the start of the scan, bytes are picture data.
  Bytes afterScan = kJpegStart;
  afterScan.insert(afterScan.end(), {0xFF, 0xDA, 0x00, 0x02});
  const Bytes exif = app1(exifTiff(6, {}));
  afterScan.insert(afterScan.end(), exif.begin(), exif.end());
  EXPECT_EQ(jpegOrientation(afterScan), Orientation::Upright);
}

TEST(ExifOrientation, BrokenSegmentsAreUpright) {
  const Bytes exif = app1(exifTiff(6, {}));
  // The segment cut one byte short of its length, a length below 2, and a
  // file that is no JPEG.
  Bytes cut = kJpegStart;
  cut.insert(cut.end(), exif.begin(), exif.end() - 1);
  Bytes whole = kJpegStart;
  whole.insert(whole.end(), exif.begin(), exif.end());
  const Bytes shortLength{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 0xFF, 0xD9};
  Bytes notJpeg = whole;
  notJpeg[1] = 0xD9;
  EXPECT_EQ(jpegOrientation(whole), Orientation::TurnedRight);
  EXPECT_EQ(jpegOrientation(cut), Orientation::Upright);
  EXPECT_EQ(jpegOrientation(shortLength), Orientation::Upright);
  EXPECT_EQ(jpegOrientation(notJpeg), Orientation::Upright);
  EXPECT_EQ(jpegOrientation({}), Orientation::Upright);
}

}  // namespace
}  // namespace tunora
