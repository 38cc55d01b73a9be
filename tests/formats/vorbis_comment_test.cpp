#include "formats/vorbis_comment.h"

#include <gtest/gtest.h>

#include <string>

#include "io/file.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using namespace testing;

VorbisComment parse(std::initializer_list<std::string> entries, std::string_view vendor = "v") {
  return VorbisComment(vorbisCommentBlock(vendor, entries));
}

TEST(VorbisCommentEntries, KeysNameTheValuesWithoutRegardToCase) {
  const VorbisComment texts = parse({"artist=A", "Title=T", "ALBUM=L", "tracknumber=3/9",
                                     "Date=2004-05-01", "genre=Rock", "ENCODER=ignored"});
  EXPECT_EQ(texts.artist(), u"A");
  EXPECT_EQ(texts.title(), u"T");
  EXPECT_EQ(texts.album(), u"L");
  EXPECT_EQ(texts.track(), u"3/9");
  EXPECT_EQ(texts.year(), u"2004");
  EXPECT_EQ(texts.genre(), u"Rock");
  EXPECT_FALSE(texts.hasComment());
}

TEST(VorbisCommentEntries, AlbumArtistDiscAndComposer) {
  const struct {
    std::initializer_list<std::string> entries;
    std::u16string_view albumArtist, disc, composer;
  } cases[] = {
      {{"ALBUMARTIST=V", "DISCNUMBER=1/2", "composer=W"}, u"V", u"1/2", u"W"},
      {{"album artist=V"}, u"V", u"Unknown", u"Unknown"},
      // Both spellings are values of one field, in stored order.
      {{"ALBUM ARTIST=A", "ALBUMARTIST=B"}, u"A; B", u"Unknown", u"Unknown"},
      {{"ALBUM_ARTIST=x", "DISC=x", "DISCTOTAL=2", "COMPOSERSORT=x"},
       u"Unknown",
       u"Unknown",
       u"Unknown"},
  };
  for (const auto& c : cases) {
    const VorbisComment texts = parse(c.entries);
    EXPECT_EQ(texts.albumArtist(), c.albumArtist) << *c.entries.begin();
    EXPECT_EQ(texts.disc(), c.disc) << *c.entries.begin();
    EXPECT_EQ(texts.composer(), c.composer) << *c.entries.begin();
  }
}

TEST(VorbisCommentEntries, RepeatedKeysJoinAndEmptyValueIsUnknown) {
  EXPECT_EQ(parse({"artist=A", "ARTIST=B"}).artist(), u"A; B");
  EXPECT_EQ(parse({"TITLE=first", "title="}).title(), u"first");
  EXPECT_EQ(parse({"title="}).title(), u"Unknown");
  // Only the first "=" separates; the rest belongs to the value.
  EXPECT_EQ(parse({"ALBUM=a=b"}).album(), u"a=b");
}

TEST(VorbisCommentEntries, CommentKeysAccumulate) {
  const VorbisComment texts =
      parse({"COMMENT=one\n", "comments=two", "MYCOMMENT=three", "COMMENT=", "Hello"});
  ASSERT_TRUE(texts.hasComment());
  ASSERT_EQ(texts.comment().lineCount(), 2u);
  EXPECT_EQ(*texts.comment().line(0), u"one");
  // An entry without "=" is a comment, kept in its own letter case.
  EXPECT_EQ(*texts.comment().line(1), u"twothreeHello");
}

TEST(VorbisCommentEntries, Utf8IsDecodedAndBrokenEntriesAreDroppedAlone) {
  const VorbisComment texts = parse({"TITLE=Caf\xC3\xA9", "ARTIST=bad\xC3(", "ALBUM=\xE2\x82\xAC"});
  EXPECT_EQ(texts.title(), u"Caf\u00E9");
  EXPECT_EQ(texts.artist(), u"Unknown");
  EXPECT_EQ(texts.album(), u"\u20AC");
}

std::string pictureOf(const VorbisComment& comment) {
  if (!comment.picture()) return "(none)";
  return {comment.picture()->data.begin(), comment.picture()->data.end()};
}

TEST(VorbisCommentPictures, TheFrontCoverWinsAndBrokenPicturesArePassedOver) {
  EXPECT_EQ(pictureOf(parse({pictureEntry(4, "back"), pictureEntry(3, "front"),
                             pictureEntry(3, "second front")})),
            "front");
  EXPECT_EQ(pictureOf(parse({pictureEntry(0, "other"), pictureEntry(5, "leaflet")})), "other");
  // Not Base64, an empty picture, a block cut short: no picture at all.
  EXPECT_EQ(pictureOf(parse({"METADATA_BLOCK_PICTURE=%%%%", pictureEntry(3, ""),
                             "METADATA_BLOCK_PICTURE=AAAAAw=="})),
            "(none)");
  // A picture is no comment and no value.
  const VorbisComment withPicture = parse({pictureEntry(3, "p"), "TITLE=t"});
  EXPECT_FALSE(withPicture.hasComment());
  EXPECT_EQ(withPicture.title(), u"t");
}

TEST(VorbisCommentBlock, EmptyVendorStillHasEntries) {
  const VorbisComment comment = parse({"TITLE=kept"}, "");
  EXPECT_TRUE(comment.entryCountRead());
  EXPECT_EQ(comment.title(), u"kept");
}

TEST(VorbisCommentBlock, ShortBlocksReportWhatTheyLack) {
  EXPECT_EQ(VorbisComment(ByteVector{1, 0}).bytesWanted(), 4u);
  EXPECT_FALSE(VorbisComment(ByteVector{1, 0}).entryCountRead());
  // Vendor of 1 byte but no count after it.
  EXPECT_EQ(VorbisComment(concat({le32(1), bytesOf("v")})).bytesWanted(), 9u);

  // An entry of 4 GB in a small block: nothing allocated, the walk stops.
  ByteVector block = concat({le32(0), le32(2), le32(10), bytesOf("ARTIST=one"), le32(0xFFFFFFF0u)});
  const VorbisComment huge = VorbisComment(block);
  EXPECT_TRUE(huge.entryCountRead());
  EXPECT_EQ(huge.entryCount(), 2u);
  EXPECT_EQ(huge.artist(), u"one");
  EXPECT_EQ(huge.bytesWanted(), std::uint64_t{22 + 4} + 0xFFFFFFF0u);
}

TEST(VorbisCommentBlock, FileReadGrowsToTheEntriesButNotPastTheFile) {
  TempDir dir;
  const std::u16string path = dir.file("block.bin");
  // The entry is longer than the first read asks for.
  const std::string longTitle = "TITLE=" + std::string(10000, 'x');
  ByteVector bytes = concat({bytesOf("junk"), vorbisCommentBlock("v", {"ARTIST=a", longTitle})});
  ASSERT_TRUE(writeWholeFile(path, bytes));
  auto file = File::open(path, File::Mode::Read);
  ASSERT_TRUE(file);
  FileBlocks blocks(*file, file->size());
  const VorbisComment comment = readVorbisComment(blocks, 4, 16);
  EXPECT_EQ(comment.artist(), u"a");
  EXPECT_EQ(comment.title().size(), 10000u);
  EXPECT_EQ(comment.bytesWanted(), 0u);

  // Cut inside the long entry: the entries before it stay.
  // Beside the first: Windows replaces no file that is open.
  const std::u16string cutPath = dir.file("cut.bin");
  ASSERT_TRUE(writeWholeFile(cutPath, ByteVector(bytes.begin(), bytes.end() - 10)));
  auto cut = File::open(cutPath, File::Mode::Read);
  ASSERT_TRUE(cut);
  FileBlocks cutBlocks(*cut, cut->size());
  const VorbisComment partial = readVorbisComment(cutBlocks, 4, 16);
  EXPECT_EQ(partial.artist(), u"a");
  EXPECT_EQ(partial.title(), u"Unknown");
  EXPECT_FALSE(readVorbisComment(cutBlocks, cutBlocks.length(), 16).entryCountRead());
}

}  // namespace
}  // namespace tunora
