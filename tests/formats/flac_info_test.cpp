#include "formats/flac_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/flac_metadata.h"
#include "io/file.h"
#include "support/cover_bytes_modes.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using FLACFile = TrackFileTest<FLACInfo>;

ByteVector comments(std::initializer_list<std::string> entries, std::string_view vendor = "ref") {
  return flacBlock(4, vorbisCommentBlock(vendor, entries));
}

TEST(FLACRealFiles, MetaflacFileWithPictureBeforeTheComments) {
  FLACInfo info;
  EXPECT_EQ(info.readFile(fixturePath("formats/flac_picture_tags.flac")), ReadResult::Read);
  EXPECT_TRUE(info.hasTag());
  EXPECT_EQ(info.getPresentTags(), u"FLAC-Comments");
  EXPECT_EQ(info.getTitle(), u"Caf\u00E9 Noir");
  EXPECT_EQ(info.getArtist(), u"Tunora Ensemble");
  EXPECT_EQ(info.getAlbum(), u"Fixtures");
  EXPECT_EQ(info.getTrackNumber(), u"7");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getGenre(), u"Ambient");
  EXPECT_EQ(*info.getComment()->line(0), u"made by metaflac");
  EXPECT_EQ(info.getSampleRate(), u"44100");
  EXPECT_EQ(info.getStereoMode(), u"2");
  EXPECT_NE(info.getBitrate(), u"Unknown");
  // The picture block before the comments is the cover.
  ASSERT_TRUE(info.hasCover());
  EXPECT_FALSE(info.getCoverData()->empty());
}

TEST(FLACStreamInfoBlock, FieldsFromThePackedBits) {
  const ByteVector block = streamInfo(96000, 6, 0x123456789ull);
  const auto info = parseFLACStreamInfo(ByteVector(block.begin() + 4, block.end()));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->sampleRate, 96000u);
  EXPECT_EQ(info->channels, 6u);
  // The four high bits of the 36-bit count are dropped.
  EXPECT_EQ(info->totalSamples, 0x23456789u);
  ByteVector body(34, 0);
  body[12] = 0x42;
  EXPECT_EQ(parseFLACStreamInfo(body)->channels, 2u);
  EXPECT_FALSE(parseFLACStreamInfo(ByteVector(33, 0)));
}

TEST_F(FLACFile, BitRateFromSizeAndWholeSeconds) {
  // 30,000,000 bytes over 180 s: 1,333,328 bit/s, shown as 1333.
  ByteVector bytes = concat({bytesOf("fLaC"), streamInfo(44100, 2, 7938000), comments({}),
                             flacBlock(1, ByteVector(16, 0), true)});
  bytes.resize(30000000, 0);
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"1333");
  EXPECT_EQ(info_.getSampleRate(), u"44100");
  EXPECT_EQ(info_.getStereoMode(), u"2");
}

TEST_F(FLACFile, BitRateOfFilesAbove4GiBKeepsTheSize) {
  const std::u16string path = dir_.file("large.flac");
  ASSERT_TRUE(writeWholeFile(
      path, concat({bytesOf("fLaC"), streamInfo(44100, 2, 44100 * 1000), comments({}, "v")})));
  // Sparse: 5 GiB over 1000 s is 42,949,672 bit/s; 32 bits would see 1 GiB.
  std::filesystem::resize_file(dir_.path() / "large.flac", std::uint64_t{5} << 30);
  EXPECT_EQ(info_.readFile(path), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"42949");
}

TEST_F(FLACFile, ShortStreamsAndZeroRatesLeaveBitRateUnknown) {
  EXPECT_EQ(read(concat({bytesOf("fLaC"), streamInfo(44100, 1, 44099)})), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"Unknown");
  EXPECT_EQ(info_.getStereoMode(), u"1");
  const auto zero =
      readAnother(concat({bytesOf("fLaC"), streamInfo(0, 2, 1000), comments({})}), "zero.flac");
  EXPECT_EQ(zero->getBitrate(), u"Unknown");
  EXPECT_EQ(zero->getSampleRate(), u"Unknown");
}

TEST_F(FLACFile, CommentBlockAfterOtherBlocks) {
  const ByteVector picture = flacBlock(6, ByteVector(300, 0x77));
  EXPECT_EQ(
      read(concat({bytesOf("fLaC"), streamInfo(48000, 2, 480000), flacBlock(3, ByteVector(18, 0)),
                   picture, comments({"TITLE=t", "Hello", "DATE=1999-01-01"}),
                   flacBlock(1, ByteVector(10, 0), true)})),
      ReadResult::Read);
  EXPECT_EQ(info_.getTitle(), u"t");
  EXPECT_EQ(info_.getYear(), u"1999");
  // An entry without "=" is a comment, as in Ogg files.
  ASSERT_TRUE(info_.hasComment());
  EXPECT_EQ(*info_.getComment()->line(0), u"Hello");
}

TEST_F(FLACFile, TagFlagFollowsTheEntryCount) {
  // A vendor and no entries: a tag, and every value "Unknown".
  EXPECT_EQ(read(concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000), comments({}, "vendor")})),
            ReadResult::Read);
  EXPECT_TRUE(info_.hasTag());
  EXPECT_EQ(info_.getPresentTags(), u"FLAC-Comments");
  EXPECT_EQ(info_.getTitle(), u"Unknown");

  // An empty vendor string is valid: its entries count.
  const auto emptyVendor = readAnother(
      concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000), comments({"ARTIST=a"}, "")}),
      "novendor.flac");
  EXPECT_TRUE(emptyVendor->hasTag());
  EXPECT_EQ(emptyVendor->getArtist(), u"a");

  // STREAMINFO as the last block: stream values, no tag.
  FLACInfo streamOnly;
  const std::u16string onlyPath = dir_.file("streamonly.flac");
  ByteVector bytes =
      concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000), comments({"ARTIST=x"})});
  bytes[4] |= 0x80;
  ASSERT_TRUE(writeWholeFile(onlyPath, bytes));
  streamOnly.readFile(onlyPath);
  EXPECT_FALSE(streamOnly.hasTag());
  EXPECT_EQ(streamOnly.getArtist(), u"Unknown");
  EXPECT_EQ(streamOnly.getSampleRate(), u"44100");
}

TEST_F(FLACFile, NoMarkerOrBrokenChain) {
  EXPECT_EQ(read(concat({bytesOf("fLaX"), streamInfo(44100, 2, 441000), comments({"ARTIST=a"})})),
            ReadResult::NotRecognised);
  EXPECT_EQ(info_.getArtist(), u"Unknown");
  EXPECT_EQ(info_.getSampleRate(), u"Unknown");
  EXPECT_FALSE(info_.hasTag());

  // A block that claims more than the file: the walk ends, STREAMINFO stays.
  const auto broken = readAnother(
      concat({bytesOf("fLaC"), streamInfo(32000, 1, 320000), flacBlock(1, ByteVector(4, 0)),
              ByteVector{0x01, 0xFF, 0xFF}, comments({"ARTIST=a"})}),
      "broken.flac");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_EQ(broken->getSampleRate(), u"32000");
  EXPECT_EQ(broken->getArtist(), u"Unknown");

  FLACInfo missing;
  EXPECT_EQ(missing.readFile(dir_.file("missing.flac")), ReadResult::NotOpened);
  EXPECT_EQ(missing.getTitle(), u"Unknown");
}

// The listing measures pictures without reading their data; every file below
// is read both ways, and both must agree with each other and with the size
// written here.
class FLACPictureSize : public CoverSizeTest<FLACInfo> {
 protected:
  // Marker, STREAMINFO and a title, then the blocks as given; the last one
  // ends the metadata and some audio follows.
  std::size_t measureBlocks(std::initializer_list<ByteVector> blocks) {
    ByteVector bytes =
        concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000), comments({"TITLE=t"})});
    for (const ByteVector& block : blocks) bytes.insert(bytes.end(), block.begin(), block.end());
    append(bytes, flacBlock(1, ByteVector(8, 0), true));
    append(bytes, ByteVector(2000, 0x55));
    return measure(bytes);
  }
  static ByteVector picture(std::uint32_t type, std::size_t size) {
    return flacBlock(6, pictureBody(type, ByteVector(size, 0xAB)));
  }
  static void append(ByteVector& to, const ByteVector& more) {
    to.insert(to.end(), more.begin(), more.end());
  }
};

TEST_F(FLACPictureSize, RealFileAndTheFrontCoverWherever) {
  EXPECT_GT(expectSameWithCoverSizeOnly<FLACInfo>(fixturePath("formats/flac_picture_tags.flac")),
            0u);
  EXPECT_EQ(measureBlocks({picture(3, 300)}), 300u);
  EXPECT_EQ(measureBlocks({picture(4, 500)}), 500u);
  EXPECT_EQ(measureBlocks({picture(4, 500), picture(3, 300)}), 300u);
  EXPECT_EQ(measureBlocks({picture(3, 300), picture(4, 500)}), 300u);
  // The first front cover and the first of the others stay.
  EXPECT_EQ(measureBlocks({picture(3, 300), picture(3, 700)}), 300u);
  EXPECT_EQ(measureBlocks({picture(0, 500), picture(4, 600)}), 500u);
  EXPECT_EQ(measureBlocks({}), 0u);
  // Picture before STREAMINFO, and picture as the last block.
  EXPECT_EQ(measure(concat({bytesOf("fLaC"), picture(4, 20000), streamInfo(44100, 2, 441000),
                            comments({"TITLE=after"})})),
            20000u);
  EXPECT_EQ(measured()->getTitle(), u"after");
  EXPECT_EQ(measure(concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000), comments({"TITLE=t"}),
                            flacBlock(6, pictureBody(3, ByteVector(9000, 1)), true),
                            ByteVector(100, 0)})),
            9000u);
}

// Without a PICTURE block the comments' picture serves, measured as in Ogg.
TEST_F(FLACPictureSize, ThePictureOfTheCommentsWithoutAPictureBlock) {
  const ByteVector withPicture =
      vorbisCommentBlock("ref", {pictureEntry(3, std::string(12000, 'J'))});
  EXPECT_EQ(measure(concat(
                {bytesOf("fLaC"), streamInfo(44100, 2, 441000), flacBlock(4, withPicture, true)})),
            12000u);
  // A PICTURE block, even of another kind, goes first.
  EXPECT_EQ(
      measure(concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000), flacBlock(4, withPicture),
                      flacBlock(6, pictureBody(4, ByteVector(500, 1)), true)})),
      500u);
}

TEST_F(FLACPictureSize, BrokenPictureBlocksAreNoCover) {
  const ByteVector good = pictureBody(3, ByteVector(400, 0xCD));
  ByteVector pastBlock = good;
  pastBlock[pastBlock.size() - 401] += 1;  // data length 401
  EXPECT_EQ(measureBlocks({flacBlock(6, pastBlock)}), 0u);
  // Data that ends before the block does is taken as it stands.
  EXPECT_EQ(measureBlocks({flacBlock(6, concat({good, ByteVector(7, 0)}))}), 400u);
  // No data; a later picture is still taken.
  EXPECT_EQ(measureBlocks({flacBlock(6, pictureBody(3, {})), picture(4, 100)}), 100u);
  // MIME and description lengths at their largest, and one past the body.
  ByteVector hugeMime = good;
  hugeMime[4] = hugeMime[5] = hugeMime[6] = hugeMime[7] = 0xFF;
  EXPECT_EQ(measureBlocks({flacBlock(6, hugeMime)}), 0u);
  ByteVector hugeText = good;
  hugeText[18] = hugeText[19] = hugeText[20] = hugeText[21] = 0xFF;
  EXPECT_EQ(measureBlocks({flacBlock(6, hugeText)}), 0u);
  const ByteVector fieldsOnly(good.begin(), good.begin() + 43);
  EXPECT_EQ(measureBlocks({flacBlock(6, ByteVector(fieldsOnly.begin(), fieldsOnly.end() - 1))}),
            0u);
  ByteVector textToTheEnd = fieldsOnly;
  textToTheEnd[21] = 21;  // the description runs on over the figures to the body's end
  EXPECT_EQ(measureBlocks({flacBlock(6, textToTheEnd)}), 0u);
  // A picture block longer than the file: the walk ends there.
  ByteVector cut = concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000), comments({"TITLE=t"}),
                           flacBlock(6, pictureBody(3, ByteVector(5000, 1)), true)});
  cut.resize(cut.size() - 1);
  EXPECT_EQ(measure(cut), 0u);
  EXPECT_EQ(measured()->getTitle(), u"t");
}

TEST_F(FLACPictureSize, FieldsLongerThanTheFirstBytesRead) {
  // The fields take 42 bytes and the description: 256 bytes in all, one
  // more, and a description of 10,000 bytes.
  for (const std::size_t description : {214u, 215u, 10000u}) {
    SCOPED_TRACE(description);
    const std::string text(description, 'x');
    EXPECT_EQ(
        measureBlocks({flacBlock(6, pictureBody(3, ByteVector(6000, 2), "image/jpeg", text))}),
        6000u);
    // The data length field lies past the first bytes, and past the block.
    const ByteVector fields = pictureBody(3, {}, "image/jpeg", text);
    EXPECT_EQ(
        measureBlocks({flacBlock(6, ByteVector(fields.begin(), fields.end() - 4)), picture(4, 99)}),
        99u);
  }
  // A block shorter than the first bytes read.
  EXPECT_EQ(measureBlocks({flacBlock(6, pictureBody(3, ByteVector(1, 2), "", ""))}), 1u);
}

TEST_F(FLACPictureSize, CommentsBeforeAndAfterAPictureSteppedOver) {
  // The first read holds 4 bytes and 4 KB read ahead; a block header up to
  // 4 KB past that extends the window, one byte further starts a new one.
  const ByteVector head = concat({bytesOf("fLaC"), streamInfo(44100, 2, 441000)});
  const ByteVector comment = comments({"TITLE=Near", "COMMENT=kept"});
  for (const std::int64_t end : {8196, 8197}) {
    SCOPED_TRACE(end);
    for (const bool commentFirst : {true, false}) {
      const std::size_t before = head.size() + (commentFirst ? comment.size() : 0) + 4;
      const std::size_t data = static_cast<std::size_t>(end) - before - 43;
      const ByteVector pictureBlock = flacBlock(6, pictureBody(3, ByteVector(data, 0xEE)));
      const ByteVector bytes =
          commentFirst ? concat({head, comment, pictureBlock, flacBlock(1, ByteVector(16, 0), true),
                                 ByteVector(20000, 0x33)})
                       : concat({head, pictureBlock, comment, flacBlock(1, ByteVector(16, 0), true),
                                 ByteVector(20000, 0x33)});
      EXPECT_EQ(measure(bytes), data);
      const auto track = measured();
      EXPECT_EQ(track->getTitle(), u"Near");
      ASSERT_TRUE(track->getComment());
      EXPECT_EQ(*track->getComment()->line(0), u"kept");
    }
  }
}

}  // namespace
}  // namespace tunora
