#include "tags/ape_tag.h"

#include <gtest/gtest.h>

#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::apeItem;
using testing::apeTag;
using testing::bytesOf;
using testing::ByteVector;
using testing::concat;

APEv2Tag parsed(const ByteVector& block) {
  APEv2Tag tag;
  tag.parse(block);
  return tag;
}

TEST(APEv2Tag, ReadsTextItemsWithKeysInAnyCase) {
  const auto tag = parsed(
      apeTag({apeItem("Artist", "Band"), apeItem("TITLE", "Song"), apeItem("album", "Record"),
              apeItem("Track", "3/12"), apeItem("Year", "2003-11-02"),
              apeItem("Genre", "(18)Techno"), apeItem("Cover Art (Front)", "x")}));
  ASSERT_TRUE(tag.isPresent());
  EXPECT_EQ(tag.artist(), u"Band");
  EXPECT_EQ(tag.title(), u"Song");
  EXPECT_EQ(tag.album(), u"Record");
  EXPECT_EQ(tag.track(), u"3/12");
  EXPECT_EQ(tag.year(), u"2003");
  EXPECT_EQ(tag.genre(), u"Techno");
  EXPECT_FALSE(tag.hasComment());
}

TEST(APEv2Tag, AlbumArtistKeysAsTaggersWriteThemDiscAndComposer) {
  for (const char* key : {"Album Artist", "ALBUMARTIST", "Album artist", "albumartist"}) {
    const auto tag = parsed(
        apeTag({apeItem(key, "Various"), apeItem("DISC", "2/3"), apeItem("Composer", "Writer")}));
    EXPECT_EQ(tag.albumArtist(), u"Various") << key;
    EXPECT_EQ(tag.disc(), u"2/3") << key;
    EXPECT_EQ(tag.composer(), u"Writer") << key;
  }
  // Near misses name other items.
  const auto other = parsed(apeTag({apeItem("Album_Artist", "x"), apeItem("Discs", "x")}));
  EXPECT_EQ(other.albumArtist(), u"Unknown");
  EXPECT_EQ(other.disc(), u"Unknown");
}

TEST(APEv2Tag, FrontCoverItemIsANameNulAndThePicture) {
  const std::string picture(120, '\xD8');
  const struct {
    std::string key;
    std::string value;
    std::size_t size;  // 0: no picture
  } cases[] = {
      {"Cover Art (Front)", "cover.jpg" + std::string(1, '\0') + picture, picture.size()},
      {"cover art (front)", std::string(1, '\0') + picture, picture.size()},
      {"Cover Art (Front)", std::string(1, '\0') + "x", 1},
      // A name alone, or no NUL at all, holds no picture.
      {"Cover Art (Front)", "cover.jpg" + std::string(1, '\0'), 0},
      {"Cover Art (Front)", "cover.jpg", 0},
      {"Cover Art (Back)", "cover.jpg" + std::string(1, '\0') + picture, 0},
  };
  for (const auto& c : cases) {
    const auto block = apeTag({apeItem(c.key, c.value), apeItem("Title", "Song")});
    const auto tag = parsed(block);
    EXPECT_EQ(tag.title(), u"Song") << c.key;
    EXPECT_EQ(tag.hasPicture(), c.size > 0) << c.value.size();
    EXPECT_EQ(tag.pictureSize(), c.size) << c.value.size();
    EXPECT_EQ(tag.picture().size(), c.size) << c.value.size();
    APEv2Tag measured;
    measured.parse(block, CoverBytes::SizeOnly);
    EXPECT_EQ(measured.pictureSize(), c.size);
    EXPECT_TRUE(measured.picture().empty());
  }
  // A later tag without the item forgets the earlier picture.
  auto tag = parsed(apeTag({apeItem("Cover Art (Front)", std::string(1, '\0') + picture)}));
  tag.parse(apeTag({apeItem("Title", "Song")}));
  EXPECT_FALSE(tag.hasPicture());
}

TEST(APEv2Tag, ValuesAreUtf8AndEndAtTheirFirstNul) {
  const auto tag = parsed(
      apeTag({apeItem("artist", "Bj\xC3\xB6rk"), apeItem("title", std::string_view("One\0Two", 7)),
              apeItem("album", "ok"), apeItem("album", "bad \xC3"), apeItem("genre", "Pop"),
              apeItem("genre", std::string(1, '\0'))}));
  EXPECT_EQ(tag.artist(), u"Bj\u00F6rk");
  EXPECT_EQ(tag.title(), u"One");
  // Malformed UTF-8 and a value starting with NUL leave the earlier value.
  EXPECT_EQ(tag.album(), u"ok");
  EXPECT_EQ(tag.genre(), u"Pop");
}

TEST(APEv2Tag, CommentsAndLyricsAccumulateWithoutSeparator) {
  const auto tag = parsed(apeTag(
      {apeItem("Comment", "first"), apeItem("COMMENT", "sec\nond"), apeItem("Lyrics", "la la")}));
  ASSERT_TRUE(tag.hasComment());
  EXPECT_EQ(tag.comment().lineCount(), 2u);
  EXPECT_EQ(tag.comment().line(0), u"firstsec");
  EXPECT_EQ(tag.comment().line(1), u"ond");
  ASSERT_TRUE(tag.hasLyrics());
  EXPECT_EQ(tag.lyrics().line(0), u"la la");
}

TEST(APEv2Tag, EmptyTagIsPresentWithDefaults) {
  const auto tag = parsed(apeTag({}));
  EXPECT_TRUE(tag.isPresent());
  EXPECT_EQ(tag.artist(), u"Unknown");
  EXPECT_EQ(tag.year(), u"Unknown");
  EXPECT_EQ(tag.genre(), u"Unknown");
}

TEST(APEv2Tag, NeedsHeaderAndFooter) {
  EXPECT_FALSE(parsed(apeTag({apeItem("artist", "x")}, false)).isPresent());
  auto noFooter = apeTag({apeItem("artist", "x")});
  noFooter[noFooter.size() - 32] = 'X';
  EXPECT_FALSE(parsed(noFooter).isPresent());
  // One 32-byte block cannot be header and footer at once.
  const auto empty = apeTag({});
  EXPECT_FALSE(parsed(ByteVector(empty.begin(), empty.begin() + 32)).isPresent());
}

TEST(APEv2Tag, ItemsRunningIntoTheFooterEndTheWalk) {
  auto block = apeTag({apeItem("artist", "kept"), apeItem("title", "cut")});
  // The second value claims far more bytes than the tag holds.
  const std::size_t second = 32 + 8 + 7 + 4;
  block[second + 3] = 0x7F;
  const auto tag = parsed(block);
  EXPECT_TRUE(tag.isPresent());
  EXPECT_EQ(tag.artist(), u"kept");
  EXPECT_EQ(tag.title(), u"Unknown");

  // An item count larger than the items there are stops at the footer.
  auto counted = apeTag({apeItem("artist", "one")});
  counted[16] = 0xFF;
  counted[19] = 0xFF;
  EXPECT_EQ(parsed(counted).artist(), u"one");

  // A key without NUL before the footer.
  auto keyless = apeTag({apeItem("artist", "x")});
  keyless[32 + 8 + 6] = 'y';
  keyless[32 + 8 + 7] = 'z';
  EXPECT_EQ(parsed(keyless).artist(), u"Unknown");
}

class APEv2Locator : public ::testing::Test {
 protected:
  std::optional<ByteVector> locate(const ByteVector& contents,
                                   APEv2Search order = APEv2Search::BeforeID3v1First) {
    const auto path = dir_.file("t.mp3");
    EXPECT_TRUE(writeWholeFile(path, contents));
    auto file = File::open(path, File::Mode::Read);
    FileBlocks blocks(*file, file->size());
    return copyOf(readAPEv2Block(blocks, order));
  }
  testing::TempDir dir_;
  const ByteVector audio_ = ByteVector(300, 0x55);
  const ByteVector id3v1_ = testing::id3v1Block({.title = "v1"});
};

TEST_F(APEv2Locator, FindsTheTagBeforeID3v1AndAtTheEnd) {
  const auto tag = apeTag({apeItem("artist", "Band"), apeItem("title", "A long enough title")});
  EXPECT_EQ(locate(concat({audio_, tag, id3v1_})), tag);
  EXPECT_EQ(locate(concat({audio_, tag})), tag);
  EXPECT_EQ(locate(concat({audio_, tag}), APEv2Search::AtEndFirst), tag);
  EXPECT_EQ(locate(concat({audio_, tag, id3v1_}), APEv2Search::AtEndFirst), tag);
}

TEST_F(APEv2Locator, TagOfExactly160BytesAtTheEndIsFound) {
  // 32 header + 96 of items + 32 footer: the header sits at L - 160.
  const auto tag = apeTag({apeItem("artist", std::string(96 - 8 - 7, 'a'))});
  ASSERT_EQ(tag.size(), 160u);
  const auto found = locate(concat({audio_, tag}));
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, tag);
}

TEST_F(APEv2Locator, TagsElsewhereOrTooLargeAreNotRead) {
  const auto tag = apeTag({apeItem("artist", "Band")});
  const auto lyrics = testing::lyrics3Block({testing::lyrics3Field("LYR", "la")});
  EXPECT_FALSE(locate(concat({audio_, tag, lyrics, id3v1_})));
  EXPECT_FALSE(locate(concat({audio_, id3v1_})));

  // A footer whose size reaches before the file start: no read, no allocation.
  auto huge = tag;
  huge[huge.size() - 32 + 15] = 0x7F;
  EXPECT_FALSE(locate(concat({audio_, huge})));
  EXPECT_FALSE(locate(ByteVector(tag.end() - 40, tag.end())));
}

}  // namespace
}  // namespace tunora
