#include "formats/flac_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/flac_metadata.h"
#include "io/file.h"
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

}  // namespace
}  // namespace tunora
