#include "tags/id3v2_tag.h"

#include <gtest/gtest.h>

#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::bytesOf;
using testing::ByteVector;
using testing::concat;
using testing::id3v2Frame;
using testing::id3v2Tag;
using testing::textBody;

// A tag with the frames and the bytes the owners read after it.
ID3v2Tag parsed(int version, const ByteVector& frames, std::uint8_t flags = 0) {
  ID3v2Tag tag;
  tag.parse(concat({id3v2Tag(version, frames, 0, flags), ByteVector(20, 0xFF)}));
  return tag;
}

ByteVector latin1(std::string_view id, std::string_view text, int version = 3) {
  return id3v2Frame(version, id, textBody(0, bytesOf(text)));
}

ByteVector picture(std::string_view mime, std::uint8_t type, const ByteVector& data,
                   std::uint8_t encoding = 0, const ByteVector& description = {0}) {
  return id3v2Frame(3, "APIC", concat({{encoding}, bytesOf(mime), {0}, {type}, description, data}));
}

TEST(ID3v2Tag, TextFramesOfBothVersions) {
  for (int version : {3, 4}) {
    const auto tag =
        parsed(version, concat({latin1("TIT2", "Song", version), latin1("TPE1", "Band", version),
                                latin1("TALB", "Record", version), latin1("TRCK", "03/12", version),
                                latin1("TXXX", "ignored", version)}));
    ASSERT_TRUE(tag.isPresent()) << version;
    EXPECT_EQ(tag.title(), u"Song");
    EXPECT_EQ(tag.artist(), u"Band");
    EXPECT_EQ(tag.album(), u"Record");
    EXPECT_EQ(tag.track(), u"03/12");
    EXPECT_EQ(tag.year(), u"Unknown");
  }
}

TEST(ID3v2Tag, YearFramesFollowTheVersion) {
  EXPECT_EQ(parsed(3, latin1("TYER", "1999")).year(), u"1999");
  EXPECT_EQ(parsed(3, latin1("TDRC", "1999")).year(), u"Unknown");
  EXPECT_EQ(parsed(4, latin1("TYER", "1999", 4)).year(), u"Unknown");
  EXPECT_EQ(parsed(4, latin1("TDRC", "2004-05-01", 4)).year(), u"2004");
  EXPECT_EQ(parsed(4, latin1("TORY", "1987", 4)).year(), u"1987");
  // The last year frame of the tag wins; a two-digit year is no year.
  EXPECT_EQ(parsed(3, concat({latin1("TYER", "1999"), latin1("TORY", "1970")})).year(), u"1970");
  EXPECT_EQ(parsed(3, latin1("TYER", "99")).year(), u"Unknown");
}

TEST(ID3v2Tag, GenreRule) {
  const auto genreOf = [](std::string_view text) {
    return parsed(3, latin1("TCON", text)).genre();
  };
  EXPECT_EQ(genreOf("17"), u"Rock");
  EXPECT_EQ(genreOf("273"), u"Rock");
  EXPECT_EQ(genreOf("147"), u"SynthPop");
  EXPECT_EQ(genreOf("148"), u"Unknown");
  EXPECT_EQ(genreOf("rx"), u"Remix");
  EXPECT_EQ(genreOf("CR"), u"Cover");
  EXPECT_EQ(genreOf("(17)"), u"");
  EXPECT_EQ(genreOf("(17)Rock"), u"Rock");
  EXPECT_EQ(genreOf("Rock (live)"), u"Rock (live)");
  // Every character but the last a digit counts as a number.
  EXPECT_EQ(genreOf("A"), u"Blues");
  EXPECT_EQ(genreOf("1x"), u"Classic Rock");
  // A number of any length counts by its low 8 bits.
  EXPECT_EQ(genreOf("25600000000000000017"), u"Rock");
  // An empty decoded text stays empty.
  ID3v2Tag empty = parsed(4, id3v2Frame(4, "TCON", concat({{1}, {0xFF, 0xFE}, {0, 0}})));
  EXPECT_EQ(empty.genre(), u"");
}

TEST(ID3v2Tag, TextEncodings) {
  const auto titleOf = [](const ByteVector& body) {
    return parsed(3, id3v2Frame(3, "TIT2", body)).title();
  };
  EXPECT_EQ(titleOf(textBody(0, bytesOf("Caf\xE9"))), u"Caf\u00E9");
  EXPECT_EQ(titleOf(textBody(1, {0xFF, 0xFE, 'H', 0, 'i', 0})), u"Hi");
  EXPECT_EQ(titleOf(textBody(1, {0xFE, 0xFF, 0, 'H', 0, 'i'})), u"Hi");
  EXPECT_EQ(titleOf(textBody(2, {0x20, 0xAC})), u"\u20AC");
  EXPECT_EQ(titleOf(textBody(3, bytesOf("\xE2\x82\xAC"))), u"\u20AC");
  EXPECT_EQ(titleOf(textBody(9, bytesOf("\xE9"))), u"\u00E9");
  // Refused: a first text byte 0, an odd UTF-16 count, malformed UTF-8.
  EXPECT_EQ(titleOf(textBody(2, {0x00, 'H'})), u"Unknown");
  EXPECT_EQ(titleOf(textBody(1, {0xFF, 0xFE, 'H'})), u"Unknown");
  EXPECT_EQ(titleOf(textBody(3, bytesOf("A\xC3"
                                        "A"))),
            u"Unknown");
  EXPECT_EQ(titleOf({0}), u"Unknown");
  EXPECT_FALSE(parsed(3, id3v2Frame(3, "TIT2", textBody(1, {0xFF, 0xFE, 'H'}))).isPresent());
}

TEST(ID3v2Tag, CommentsAndLyricsAccumulateInTagOrder) {
  const auto tag = parsed(
      3,
      concat({id3v2Frame(3, "COMM", concat({{0}, bytesOf("eng"), {0}, bytesOf("first")})),
              id3v2Frame(
                  3, "COMM",
                  concat({{1}, bytesOf("deu"), {0xFF, 0xFE, 'd', 0, 0, 0}, {0xFF, 0xFE, 's', 0}})),
              id3v2Frame(3, "USLT",
                         concat({{3}, bytesOf("eng"), bytesOf("desc"), {0}, bytesOf("la\nla")}))}));
  ASSERT_TRUE(tag.hasComment());
  // The line holds "first", NUL, "s", NUL; read as text it shows the first.
  EXPECT_EQ(tag.comment().lineCount(), 1u);
  EXPECT_EQ(tag.comment().line(0), u"first");
  ASSERT_TRUE(tag.hasLyrics());
  EXPECT_EQ(tag.lyrics().lineCount(), 2u);
  EXPECT_EQ(tag.lyrics().line(1), u"la");
}

TEST(ID3v2Tag, CommentWithoutTextOrUndecodableText) {
  const auto noText =
      parsed(3, id3v2Frame(3, "COMM", concat({{0}, bytesOf("eng"), bytesOf("only description")})));
  EXPECT_FALSE(noText.isPresent());
  EXPECT_FALSE(noText.hasComment());
  const auto badText =
      parsed(3, id3v2Frame(3, "COMM", concat({{1}, bytesOf("eng"), {0, 0}, {0xFF, 0xFE, 'x'}})));
  EXPECT_TRUE(badText.isPresent());
  EXPECT_FALSE(badText.hasComment());
}

TEST(ID3v2Tag, PictureChoice) {
  const ByteVector front(120, 0x11);
  const ByteVector back(130, 0x22);
  const ByteVector later(140, 0x33);
  // A PNG front cover is passed over for a JPEG of another type.
  auto tag = parsed(3, concat({picture("image/png", 3, front), picture("image/jpeg", 0, back)}));
  ASSERT_TRUE(tag.hasPicture());
  EXPECT_EQ(tag.picture(), back);
  // Of two front covers the later wins, whatever other pictures come after.
  tag = parsed(3, concat({picture("image/jpeg", 3, front), picture("IMAGE/JPG", 3, later),
                          picture("image\\jpeg", 4, back)}));
  EXPECT_EQ(tag.picture(), later);
  // Of other pictures the last one wins.
  tag = parsed(3, concat({picture("image/jpeg", 4, back), picture("image\\jpg", 5, later)}));
  EXPECT_EQ(tag.picture(), later);
  EXPECT_TRUE(tag.isPresent());
  // UTF-16 descriptions end with two NUL bytes at an even distance.
  tag = parsed(3, picture("image/jpeg", 3, front, 1, {0xFF, 0xFE, 0, 'a', 0, 0}));
  EXPECT_EQ(tag.picture(), front);
  tag = parsed(3, picture("image/jpeg", 3, front, 0, bytesOf(std::string("desc\0", 5))));
  EXPECT_EQ(tag.picture(), front);
}

TEST(ID3v2Tag, EmptyFrontCoverDoesNotHideAnotherPicture) {
  const ByteVector back(130, 0x22);
  const auto tag =
      parsed(3, concat({picture("image/jpeg", 3, {}), picture("image/jpeg", 4, back)}));
  ASSERT_TRUE(tag.hasPicture());
  EXPECT_EQ(tag.picture(), back);
  EXPECT_FALSE(parsed(3, picture("image/jpeg", 3, {})).hasPicture());
  EXPECT_FALSE(parsed(3, picture("image/jpeg", 4, {})).isPresent());
}

TEST(ID3v2Tag, HeaderTests) {
  const auto frames = latin1("TIT2", "x");
  EXPECT_TRUE(parsed(3, frames).isPresent());
  EXPECT_FALSE(parsed(2, frames).isPresent());
  EXPECT_FALSE(parsed(5, frames).isPresent());
  EXPECT_FALSE(parsed(3, frames, 0x01).isPresent());
  EXPECT_FALSE(parsed(3, frames, 0x0F).isPresent());
  EXPECT_TRUE(parsed(3, frames, 0x80).isPresent());
  auto revised = concat({id3v2Tag(3, frames), ByteVector(20, 0)});
  revised[4] = 1;
  ID3v2Tag tag;
  tag.parse(revised);
  EXPECT_FALSE(tag.isPresent());
  auto unsafeSize = concat({id3v2Tag(3, frames), ByteVector(20, 0)});
  unsafeSize[9] |= 0x80;
  tag.parse(unsafeSize);
  EXPECT_FALSE(tag.isPresent());
  // The block must hold the whole tag and one byte more.
  const auto exact = id3v2Tag(3, frames);
  tag.parse(exact);
  EXPECT_FALSE(tag.isPresent());
  tag.parse(concat({exact, {0}}));
  EXPECT_TRUE(tag.isPresent());
}

TEST(ID3v2Tag, ExtendedHeaderSizeFollowsTheVersion) {
  // Version 3: the size leaves out its own four bytes; version 4: syncsafe, whole.
  const auto v3 = parsed(3, concat({{0, 0, 0, 6}, ByteVector(6, 0), latin1("TIT2", "x")}), 0x40);
  EXPECT_EQ(v3.title(), u"x");
  const auto v4 = parsed(4, concat({{0, 0, 0, 6}, {1, 0}, latin1("TIT2", "y", 4)}), 0x40);
  EXPECT_EQ(v4.title(), u"y");
  EXPECT_FALSE(
      parsed(4, concat({{0x7F, 0x7F, 0x7F, 0x7F}, latin1("TIT2", "y", 4)}), 0x40).isPresent());
}

TEST(ID3v2Tag, SkippedFramesAndTheEndOfTheWalk) {
  EXPECT_FALSE(parsed(3, id3v2Frame(3, "TIT2", textBody(0, bytesOf("x")), 0x80)).isPresent());
  EXPECT_FALSE(parsed(3, id3v2Frame(3, "TIT2", textBody(0, bytesOf("x")), 0x40)).isPresent());
  EXPECT_FALSE(parsed(4, id3v2Frame(4, "TIT2", textBody(0, bytesOf("x")), 0x01)).isPresent());
  EXPECT_FALSE(parsed(4, id3v2Frame(4, "TIT2", textBody(0, bytesOf("x")), 0x08)).isPresent());
  // Skipped frames are stepped over.
  EXPECT_EQ(parsed(3, concat({id3v2Frame(3, "TALB", textBody(0, bytesOf("x")), 0x80),
                              latin1("TIT2", "after")}))
                .title(),
            u"after");
  // Lower-case IDs count; IDs without a letter or digit end the walk.
  EXPECT_EQ(parsed(3, latin1("tit2", "lower")).title(), u"lower");
  // IDs with NUL bytes match nothing, and the walk goes on.
  EXPECT_EQ(parsed(3, concat({latin1(std::string_view("\0IT2", 4), "no"), latin1("TIT2", "yes")}))
                .title(),
            u"yes");
  EXPECT_FALSE(parsed(3, concat({ByteVector(10, 0), latin1("TIT2", "x")})).isPresent());
  EXPECT_FALSE(parsed(3, concat({latin1("!!!!", "x"), latin1("TIT2", "x")})).isPresent());
  // A frame running past the tag end ends the walk; earlier values stay.
  auto frames = concat({latin1("TIT2", "kept"), latin1("TALB", "cut")});
  frames[frames.size() - 8] = 0x10;
  const auto cut = parsed(3, frames);
  EXPECT_EQ(cut.title(), u"kept");
  EXPECT_EQ(cut.album(), u"Unknown");
}

TEST(ID3v2Tag, SavePictureNeedsAHundredBytes) {
  testing::TempDir dir;
  auto tag = parsed(3, picture("image/jpeg", 3, ByteVector(99, 0xAB)));
  EXPECT_EQ(tag.savePicture(dir.file("small.jpg")), -1);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "small.jpg"));
  tag = parsed(3, picture("image/jpeg", 3, ByteVector(100, 0xAB)));
  EXPECT_EQ(tag.savePicture(dir.file("ok.jpg")), 1);
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "ok.jpg"), 100u);
  EXPECT_EQ(tag.savePicture(dir.file("missing/dir.jpg")), -1);
  EXPECT_EQ(ID3v2Tag().savePicture(dir.file("none.jpg")), -1);
}

TEST(ID3v2Locator, StreamStartsAfterTheTagEvenWhenItIsNotRead) {
  testing::TempDir dir;
  const auto path = dir.file("t.mp3");
  const auto tag = id3v2Tag(3, latin1("TIT2", "x"), 50);
  const auto locate = [&](const ByteVector& contents) {
    EXPECT_TRUE(writeWholeFile(path, contents));
    auto file = File::open(path, File::Mode::Read);
    FileBlocks blocks(*file, file->size());
    const auto location = readID3v2Block(blocks);
    return std::pair(location.tagEnd, copyOf(location.block));
  };
  auto found = locate(concat({tag, ByteVector(20, 1)}));
  EXPECT_EQ(found.first, static_cast<std::int64_t>(tag.size()));
  ASSERT_TRUE(found.second);
  EXPECT_EQ(found.second->size(), tag.size() + 20);
  // Fewer than 20 bytes after the tag: the stream start stays, the tag is not read.
  found = locate(concat({tag, ByteVector(19, 1)}));
  EXPECT_EQ(found.first, static_cast<std::int64_t>(tag.size()));
  EXPECT_FALSE(found.second);
  // A size far past the end of the file allocates nothing.
  auto huge = tag;
  huge[6] = 0x7F;
  found = locate(huge);
  EXPECT_EQ(found.first, (std::int64_t{0x7F} << 21) + static_cast<std::int64_t>(tag.size()));
  EXPECT_FALSE(found.second);
  EXPECT_EQ(locate(ByteVector(tag.begin(), tag.begin() + 10)).first, 0);
}

}  // namespace
}  // namespace tunora
