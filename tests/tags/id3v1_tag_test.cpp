#include "tags/id3v1_tag.h"

#include <gtest/gtest.h>

#include "support/tag_bytes.h"
#include "support/temp_dir.h"
#include "tags/genre_table.h"

namespace tunora {
namespace {

using testing::bytesOf;
using testing::id3v1Block;
using testing::ID3v1Fields;

TEST(ID3v1Tag, Version11GivesTrackAndShortComment) {
  ID3v1Tag tag;
  tag.parse(id3v1Block({.title = "Song",
                        .artist = "Band",
                        .album = "Record",
                        .year = "1999",
                        .comment = "nice",
                        .track = 7,
                        .genre = 17}));
  ASSERT_TRUE(tag.isPresent());
  EXPECT_EQ(tag.title(), u"Song");
  EXPECT_EQ(tag.artist(), u"Band");
  EXPECT_EQ(tag.album(), u"Record");
  EXPECT_EQ(tag.year(), u"1999");
  EXPECT_EQ(tag.track(), u"7");
  EXPECT_EQ(tag.genreName(), u"Rock");
  ASSERT_TRUE(tag.hasComment());
  EXPECT_EQ(tag.comment().line(0), u"nice");
}

TEST(ID3v1Tag, TrackTextDependsOnlyOnTheMarkerByte) {
  ID3v1Tag zeroTrack;
  zeroTrack.parse(id3v1Block({.track = 0}));
  EXPECT_EQ(zeroTrack.track(), u"0");

  // ID3v1.0: the comment runs through byte 126, whatever it holds.
  auto block = id3v1Block({.comment = std::string(29, 'c') + "x"});
  block[126] = 9;
  ID3v1Tag version10;
  version10.parse(block);
  EXPECT_EQ(version10.track(), u"");
  EXPECT_EQ(version10.comment().line(0)->size(), 30u);
}

TEST(ID3v1Tag, FieldsKeepTheirBytesAsCharacters) {
  const std::string title = "A title that fills all thirty ";
  ASSERT_EQ(title.size(), 30u);
  ID3v1Tag tag;
  tag.parse(id3v1Block({.title = title, .artist = "Caf\xE9"}));
  EXPECT_EQ(tag.title(), u"A title that fills all thirty ");
  EXPECT_EQ(tag.artist(), u"Caf\u00E9");
}

TEST(ID3v1Tag, CommentStartingWithNulIsNoComment) {
  auto block = id3v1Block({.comment = "_later text"});
  block[97] = 0;
  ID3v1Tag tag;
  tag.parse(block);
  EXPECT_TRUE(tag.isPresent());
  EXPECT_FALSE(tag.hasComment());
  EXPECT_EQ(tag.comment().lineCount(), 0u);
}

TEST(ID3v1Tag, WrongSizeOrSignatureIsIgnored) {
  auto block = id3v1Block({.title = "x"});
  ID3v1Tag shortBlock;
  shortBlock.parse(Bytes(block).first(127));
  EXPECT_FALSE(shortBlock.isPresent());
  block[0] = 'X';
  ID3v1Tag unsigned_;
  unsigned_.parse(block);
  EXPECT_FALSE(unsigned_.isPresent());
  EXPECT_EQ(unsigned_.title(), u"");
}

TEST(GenreTable, NamesKeepTheirSpellingsAndEndAt147) {
  EXPECT_EQ(genreName(0), u"Blues");
  EXPECT_EQ(genreName(40), u"AlternRock");
  EXPECT_EQ(genreName(67), u"Psychadelic");
  EXPECT_EQ(genreName(118), u"Rhytmic Soul");
  EXPECT_EQ(genreName(144), u"Trash Metal");
  EXPECT_EQ(genreName(147), u"SynthPop");
  EXPECT_EQ(genreName(148), u"Unknown");
  EXPECT_EQ(genreName(255), u"Unknown");
  for (std::uint8_t genre : {147, 148, 255}) {
    ID3v1Tag tag;
    tag.parse(id3v1Block({.genre = genre}));
    EXPECT_EQ(tag.genreName(), genreName(genre));
  }
}

TEST(ID3v1Locator, ReadsTheLast128BytesOnlyWithSignature) {
  testing::TempDir dir;
  const auto path = dir.file("t.mp3");
  const auto block = id3v1Block({.title = "End"});
  auto contents = testing::concat({bytesOf("audio"), block});
  ASSERT_TRUE(writeWholeFile(path, contents));
  {
    // Closed before the file is replaced: Windows replaces no open file.
    auto file = File::open(path, File::Mode::Read);
    ASSERT_TRUE(file);
    FileBlocks blocks(*file, file->size());
    const auto found = copyOf(readID3v1Block(blocks));
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, block);
  }
  ASSERT_TRUE(writeWholeFile(path, Bytes(contents).first(127)));
  {
    auto tooShort = File::open(path, File::Mode::Read);
    FileBlocks shortBlocks(*tooShort, tooShort->size());
    EXPECT_FALSE(readID3v1Block(shortBlocks));
  }
  ASSERT_TRUE(writeWholeFile(path, Bytes(contents).first(130)));
  auto unsigned_ = File::open(path, File::Mode::Read);
  FileBlocks unsignedBlocks(*unsigned_, unsigned_->size());
  EXPECT_FALSE(readID3v1Block(unsignedBlocks));
}

}  // namespace
}  // namespace tunora
