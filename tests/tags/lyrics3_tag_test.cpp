#include "tags/lyrics3_tag.h"

#include <gtest/gtest.h>

#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::bytesOf;
using testing::ByteVector;
using testing::concat;
using testing::lyrics3Block;
using testing::lyrics3Field;

// The block as the owner hands it over: without the size and "LYRICS200".
Lyrics3Tag parsed(const ByteVector& block) {
  Lyrics3Tag tag;
  tag.parse(Bytes(block).first(block.size() - 15));
  return tag;
}

TEST(Lyrics3Tag, LyricsFieldGivesLinesByteByByte) {
  const auto tag =
      parsed(lyrics3Block({lyrics3Field("IND", "10"), lyrics3Field("LYR", "one\r\ntwo \xE4"),
                           lyrics3Field("LYR", "+")}));
  ASSERT_TRUE(tag.isPresent());
  ASSERT_TRUE(tag.hasLyrics());
  ASSERT_EQ(tag.lyrics().lineCount(), 2u);
  EXPECT_EQ(tag.lyrics().line(0), u"one\r");
  EXPECT_EQ(tag.lyrics().line(1), u"two \u00E4+");
}

TEST(Lyrics3Tag, WhichFieldsMakeItPresent) {
  const auto indicated = parsed(lyrics3Block({lyrics3Field("IND", "1")}));
  EXPECT_TRUE(indicated.isPresent());
  EXPECT_TRUE(indicated.hasLyrics());
  EXPECT_EQ(indicated.lyrics().lineCount(), 0u);
  EXPECT_FALSE(parsed(lyrics3Block({lyrics3Field("IND", "0")})).hasLyrics());
  EXPECT_TRUE(parsed(lyrics3Block({lyrics3Field("EAR", "x")})).isPresent());
  EXPECT_TRUE(parsed(lyrics3Block({lyrics3Field("EAL", "x")})).isPresent());
  EXPECT_TRUE(parsed(lyrics3Block({lyrics3Field("ETT", "x")})).isPresent());
  EXPECT_FALSE(
      parsed(lyrics3Block({lyrics3Field("INF", "x"), lyrics3Field("AUT", "y")})).isPresent());
}

TEST(Lyrics3Tag, ExtendedFieldsGiveTitleArtistAlbum) {
  struct Case {
    const char* what;
    ByteVector block;
    std::u16string title, artist, album;
  };
  const Case cases[] = {
      {"all three beside lyrics",
       lyrics3Block({lyrics3Field("IND", "10"), lyrics3Field("LYR", "la"),
                     lyrics3Field("ETT", "A long title"), lyrics3Field("EAR", "Artist"),
                     lyrics3Field("EAL", "Album")}),
       u"A long title", u"Artist", u"Album"},
      {"8-bit text, one character a byte", lyrics3Block({lyrics3Field("ETT", "Caf\xE9")}),
       u"Caf\u00E9", u"", u""},
      {"the first of a kind wins",
       lyrics3Block({lyrics3Field("EAR", "first"), lyrics3Field("EAR", "second")}), u"", u"first",
       u""},
      {"an empty field leaves room for the next",
       lyrics3Block({lyrics3Field("EAL", ""), lyrics3Field("EAL", "later")}), u"", u"", u"later"},
      {"other fields give nothing",
       lyrics3Block({lyrics3Field("INF", "info"), lyrics3Field("AUT", "me")}), u"", u"", u""},
  };
  for (const Case& c : cases) {
    const auto tag = parsed(c.block);
    EXPECT_EQ(tag.title(), c.title) << c.what;
    EXPECT_EQ(tag.artist(), c.artist) << c.what;
    EXPECT_EQ(tag.album(), c.album) << c.what;
  }
}

TEST(Lyrics3Tag, ExtendedFieldCutShortGivesNothing) {
  // The size claims one byte more than the block holds.
  auto block = lyrics3Block({lyrics3Field("ETT", "title")});
  block[11 + 7] = '6';
  EXPECT_EQ(parsed(block).title(), u"");
  block[11 + 7] = '5';
  EXPECT_EQ(parsed(block).title(), u"title");
}

TEST(Lyrics3Tag, DamagedFieldSizesEndTheWalk) {
  // A field claiming more than there is, and one with a size of non-digits,
  // which must not run the walk backwards.
  auto block = lyrics3Block({lyrics3Field("EAL", "x"), lyrics3Field("LYR", "text")});
  auto tooLong = block;
  tooLong[11 + 9 + 7] = '9';
  EXPECT_TRUE(parsed(tooLong).isPresent());
  EXPECT_FALSE(parsed(tooLong).hasLyrics());
  auto backwards = block;
  backwards[11 + 9 + 3] = '!';
  EXPECT_FALSE(parsed(backwards).hasLyrics());
  auto zeroed = block;
  zeroed[11 + 9] = 0;
  EXPECT_FALSE(parsed(zeroed).hasLyrics());
}

class Lyrics3Locator : public ::testing::Test {
 protected:
  std::optional<ByteVector> locate(const ByteVector& contents, bool hasID3v1) {
    const auto path = dir_.file("t.mp3");
    EXPECT_TRUE(writeWholeFile(path, contents));
    auto file = File::open(path, File::Mode::Read);
    FileBlocks blocks(*file, file->size());
    return copyOf(readLyrics3Block(blocks, hasID3v1));
  }
  testing::TempDir dir_;
  const ByteVector audio_ = ByteVector(200, 0x55);
  const ByteVector id3v1_ = testing::id3v1Block({.title = "v1"});
  const ByteVector block_ = lyrics3Block({lyrics3Field("LYR", "la")});
};

TEST_F(Lyrics3Locator, FindsTheBlockAtTheEndOrBeforeID3v1) {
  const ByteVector fields(block_.begin(), block_.end() - 15);
  EXPECT_EQ(locate(concat({audio_, block_}), false), fields);
  EXPECT_EQ(locate(concat({audio_, block_, id3v1_}), true), fields);
  EXPECT_FALSE(locate(concat({audio_, block_, id3v1_}), false));
}

TEST_F(Lyrics3Locator, RejectsDamagedSizes) {
  const auto withSize = [&](std::string_view size) {
    auto block = block_;
    std::copy(size.begin(), size.end(), block.end() - 15);
    return locate(concat({audio_, block}), false);
  };
  EXPECT_FALSE(withSize("000000"));
  EXPECT_FALSE(withSize("999999"));
  EXPECT_FALSE(withSize("00001:"));
  EXPECT_FALSE(withSize("-00001"));
  EXPECT_FALSE(withSize("000019"));  // one byte short of LYRICSBEGIN
  // Size + 128 must stay below the file length.
  EXPECT_FALSE(locate(block_, false));
  EXPECT_TRUE(locate(concat({ByteVector(129 - 15, 0), block_}), false));
  EXPECT_FALSE(locate(concat({ByteVector(128 - 15, 0), block_}), false));
  // Before an ID3v1 tag the block must still start inside the file.
  // (size 30: 30 + 128 is below the length 164, yet the start would be -9).
  auto early = block_;
  std::copy_n("000030", 6, early.end() - 15);
  EXPECT_FALSE(locate(concat({early, id3v1_}), true));
}

}  // namespace
}  // namespace tunora
