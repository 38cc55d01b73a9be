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

TEST(ID3v2Tag, AlbumArtistDiscAndComposerInEveryVersion) {
  const struct {
    int version;
    std::string_view albumArtist, disc, composer;
  } cases[] = {{2, "TP2", "TPA", "TCM"}, {3, "TPE2", "TPOS", "TCOM"}, {4, "TPE2", "TPOS", "TCOM"}};
  for (const auto& c : cases) {
    const auto frame = [&](std::string_view id, std::string_view text) {
      return id3v2Frame(c.version, id, textBody(0, bytesOf(text)));
    };
    const auto tag = parsed(c.version, concat({frame(c.albumArtist, "Various"),
                                               frame(c.disc, "1/2"), frame(c.composer, "Writer")}));
    EXPECT_EQ(tag.albumArtist(), u"Various") << c.version;
    EXPECT_EQ(tag.disc(), u"1/2") << c.version;
    EXPECT_EQ(tag.composer(), u"Writer") << c.version;
    EXPECT_EQ(tag.artist(), u"Unknown") << c.version;
  }
  // Several composers of version 4 are joined like any other text.
  EXPECT_EQ(parsed(4, latin1("TCOM", std::string_view("A\0B", 3), 4)).composer(), u"A; B");
  EXPECT_EQ(parsed(3, latin1("TIT2", "Song")).disc(), u"Unknown");
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
  const struct {
    std::string_view text;
    std::u16string_view genre;
  } cases[] = {
      {"17", u"Rock"},
      {"(17)", u"Rock"},
      {"(17)Rock", u"Rock"},
      {"(17)Hard Rock", u"Hard Rock"},
      {"rx", u"Remix"},
      {"CR", u"Cover"},
      {"(RX)", u"Remix"},
      {"(cr)", u"Cover"},
      {"(4)(17)", u"Disco; Rock"},
      {"(4)(RX)Own", u"Own"},
      {"147", u"SynthPop"},
      {"148", u"Unknown"},
      {"(147)", u"SynthPop"},
      {"(148)", u"Unknown"},
      // A number of any length counts by its low 8 bits.
      {"273", u"Rock"},
      {"25600000000000000017", u"Rock"},
      // Words and mixed texts are no numbers; a group that is no reference
      // is still taken off the front.
      {"A", u"A"},
      {"1x", u"1x"},
      {"x1", u"x1"},
      {"Rock (live)", u"Rock (live)"},
      {"(live)Rock", u"Rock"},
      {"()", u""},
      {"(17", u"(17"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parsed(3, latin1("TCON", c.text)).genre(), c.genre) << c.text;
    EXPECT_EQ(parsed(4, latin1("TCON", c.text, 4)).genre(), c.genre) << c.text;
  }
  // An empty decoded text stays empty.
  ID3v2Tag empty = parsed(4, id3v2Frame(4, "TCON", concat({{1}, {0xFF, 0xFE}, {0, 0}})));
  EXPECT_EQ(empty.genre(), u"");
}

TEST(ID3v2Tag, Version4ValuesAreJoinedInStoredOrder) {
  const struct {
    ByteVector body;
    std::u16string_view title;
  } cases[] = {
      {textBody(0, bytesOf(std::string_view("A\0B", 3))), u"A; B"},
      {textBody(3, bytesOf(std::string_view("A\0B\0C\0", 6))), u"A; B; C"},
      // Empty values (a trailing terminator, two NULs) are no values.
      {textBody(0, bytesOf(std::string_view("A\0\0B", 4))), u"A; B"},
      // UTF-16: a mark before each value, or before the first only.
      {textBody(1, {0xFF, 0xFE, 'A', 0, 0, 0, 0xFF, 0xFE, 'B', 0}), u"A; B"},
      {textBody(1, {0xFF, 0xFE, 'A', 0, 0, 0, 'B', 0}), u"A; B"},
      {textBody(1, {0xFE, 0xFF, 0, 'A', 0, 0, 0, 'B'}), u"A; B"},
      // NUL pairs count only at an even distance: 'A' 0x00 0x00 'B' is one unit.
      {textBody(2, {0, 'A', 0, 0, 0, 'B'}), u"A; B"},
      {textBody(2, {0x41, 0, 0, 0x42}), u"\u4100B"},
      // A value that cannot be decoded is left out; an odd count refuses all.
      {textBody(3, bytesOf(std::string_view("A\0\xC3Z\0B", 6))), u"A; B"},
      {textBody(1, {0xFF, 0xFE, 'A', 0, 0, 0, 'B'}), u"Unknown"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(parsed(4, id3v2Frame(4, "TIT2", cases[i].body)).title(), cases[i].title) << i;
  // Each genre value resolves on its own.
  EXPECT_EQ(parsed(4, latin1("TCON", std::string_view("17\0(RX)\0Jazz", 13), 4)).genre(),
            u"Rock; Remix; Jazz");
  // Version 3 ends a text at its first NUL.
  EXPECT_EQ(parsed(3, latin1("TPE1", std::string_view("A\0B", 3))).artist(), u"A");
}

TEST(ID3v2Tag, Version2FramesReadAsTheirVersion3Kin) {
  const auto frame = [](std::string_view id, std::string_view text) {
    return id3v2Frame(2, id, textBody(0, bytesOf(text)));
  };
  const ByteVector jpeg(150, 0xD8);
  const auto tag =
      parsed(2, concat({frame("TT2", "Title"), frame("TP1", "Artist"), frame("TAL", "Album"),
                        frame("TYE", "1998"), frame("TRK", "4/9"), frame("TCO", "(8)"),
                        id3v2Frame(2, "COM", concat({{0}, bytesOf("eng"), {0}, bytesOf("said")})),
                        id3v2Frame(2, "ULT", concat({{0}, bytesOf("eng"), {0}, bytesOf("sung")})),
                        id3v2Frame(2, "PIC", concat({{0}, bytesOf("JPG"), {3}, {0}, jpeg})),
                        frame("TXX", "ignored")}));
  ASSERT_TRUE(tag.isPresent());
  EXPECT_EQ(tag.title(), u"Title");
  EXPECT_EQ(tag.artist(), u"Artist");
  EXPECT_EQ(tag.album(), u"Album");
  EXPECT_EQ(tag.year(), u"1998");
  EXPECT_EQ(tag.track(), u"4/9");
  EXPECT_EQ(tag.genre(), u"Jazz");
  EXPECT_EQ(tag.comment().line(0), u"said");
  EXPECT_EQ(tag.lyrics().line(0), u"sung");
  EXPECT_EQ(tag.picture(), jpeg);
  // PIC names its format by three letters: PNG counts, anything else not.
  const auto pic = [&](std::string_view format, std::uint8_t type) {
    return id3v2Frame(2, "PIC", concat({{0}, bytesOf(format), {type}, {0}, jpeg}));
  };
  EXPECT_TRUE(parsed(2, pic("png", 3)).hasPicture());
  EXPECT_FALSE(parsed(2, pic("GIF", 3)).hasPicture());
  EXPECT_EQ(parsed(2, concat({pic("JPG", 0), pic("BMP", 3)})).picture(), jpeg);
  // A PIC body must hold the format and the picture type: 5 bytes at least.
  EXPECT_FALSE(parsed(2, id3v2Frame(2, "PIC", concat({{0}, bytesOf("JPG")}))).hasPicture());
  EXPECT_FALSE(parsed(2, id3v2Frame(2, "PIC", concat({{0}, bytesOf("JPG"), {3}}))).hasPicture());
  // Version 2's four-character ids are unknown; a compressed tag is not read.
  EXPECT_FALSE(parsed(2, frame("TIT", "x")).isPresent());
  EXPECT_FALSE(parsed(2, frame("TT2", "x"), 0x40).isPresent());
  EXPECT_TRUE(parsed(2, frame("TT2", "x"), 0x80).isPresent());
  // A frame running past the tag ends the walk.
  auto cut = concat({frame("TT2", "kept"), frame("TAL", "cut")});
  cut[cut.size() - 5] = 0x10;
  EXPECT_EQ(parsed(2, cut).title(), u"kept");
  EXPECT_EQ(parsed(2, cut).album(), u"Unknown");
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
  // A big-endian unit below 256 starts with a NUL byte and is no terminator.
  EXPECT_EQ(titleOf(textBody(2, {0x00, 'H'})), u"H");
  EXPECT_EQ(titleOf(textBody(1, {0x00, 'H'})), u"H");
  // Refused: a NUL first unit or byte, an odd UTF-16 count, malformed UTF-8.
  EXPECT_EQ(titleOf(textBody(2, {0x00, 0x00, 0x00, 'H'})), u"Unknown");
  EXPECT_EQ(titleOf(textBody(2, {0x00})), u"Unknown");
  EXPECT_EQ(titleOf(textBody(0, {0x00, 'H'})), u"Unknown");
  EXPECT_EQ(titleOf(textBody(1, {0xFF, 0xFE, 'H'})), u"Unknown");
  EXPECT_EQ(titleOf(textBody(3, bytesOf("A\xC3"
                                        "A"))),
            u"Unknown");
  EXPECT_EQ(titleOf({0}), u"Unknown");
  EXPECT_FALSE(parsed(3, id3v2Frame(3, "TIT2", textBody(1, {0xFF, 0xFE, 'H'}))).isPresent());
}

ByteVector comment(std::string_view description, std::string_view text) {
  return id3v2Frame(3, "COMM",
                    concat({{0}, bytesOf("eng"), bytesOf(description), {0}, bytesOf(text)}));
}

TEST(ID3v2Tag, CommentIsTheFirstWithoutDescriptionElseTheFirstOther) {
  const struct {
    ByteVector frames;
    std::u16string_view comment;  // empty: none
  } cases[] = {
      {concat({comment("note", "described"), comment("", "plain"), comment("", "later")}),
       u"plain"},
      {concat({comment("note", "described"), comment("more", "second")}), u"described"},
      // iTunes' own frames are never the comment, whatever follows "iTun".
      {concat({comment("iTunNORM", " 0000"), comment("iTunSMPB", " 0001"), comment("iTunPGAP", "0"),
               comment("note", "described")}),
       u"described"},
      {concat({comment("iTunNORM", " 0000"), comment("iTun", "x")}), u""},
      {comment("itunNORM", "case counts"), u"case counts"},
      {comment("ITun", "other case"), u"other case"},
      // UTF-16 descriptions: a mark alone is an empty description.
      {concat(
           {comment("x", "described"),
            id3v2Frame(3, "COMM",
                       concat({{1}, bytesOf("eng"), {0xFF, 0xFE, 0, 0}, {0xFF, 0xFE, 'u', 0}}))}),
       u"u"},
      {id3v2Frame(3, "COMM",
                  concat({{1},
                          bytesOf("eng"),
                          {0xFF, 0xFE, 'i', 0, 'T', 0, 'u', 0, 'n', 0, 0, 0},
                          {0xFF, 0xFE, 'u', 0}})),
       u""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto expected = cases[i].comment;
    const auto tag = parsed(3, cases[i].frames);
    EXPECT_TRUE(tag.isPresent()) << i;
    EXPECT_EQ(tag.hasComment(), !expected.empty()) << i;
    if (!expected.empty()) {
      // One comment, ended by its NUL.
      EXPECT_EQ(tag.comment().lineCount(), 1u) << i;
      EXPECT_EQ(tag.comment().line(0), expected) << i;
    }
  }
}

TEST(ID3v2Tag, LyricsAccumulateInTagOrder) {
  const auto tag = parsed(
      3, concat({id3v2Frame(3, "USLT",
                            concat({{3}, bytesOf("eng"), bytesOf("desc"), {0}, bytesOf("la\nla")})),
                 id3v2Frame(3, "USLT", concat({{0}, bytesOf("eng"), {0}, bytesOf("lu")}))}));
  ASSERT_TRUE(tag.hasLyrics());
  EXPECT_FALSE(tag.hasComment());
  EXPECT_EQ(tag.lyrics().lineCount(), 2u);
  EXPECT_EQ(tag.lyrics().line(0), u"la");
  // The second line holds "la", NUL, "lu", NUL; read as text it shows the first.
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
  // A PNG front cover is a front cover; a GIF is no picture a page shows.
  auto tag = parsed(3, concat({picture("image/png", 3, front), picture("image/jpeg", 0, back)}));
  ASSERT_TRUE(tag.hasPicture());
  EXPECT_EQ(tag.picture(), front);
  tag = parsed(3, concat({picture("image/gif", 3, front), picture("IMAGE/PNG", 0, back)}));
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
  EXPECT_TRUE(parsed(2, id3v2Frame(2, "TT2", textBody(0, bytesOf("x")))).isPresent());
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

// Reading a tag for the size of its picture only must list what reading it
// whole does: the file is read both ways and every listed value compared.
struct ReadBack {
  ID3v2Tag tag;
  std::int64_t streamStart = 0;
};

ReadBack readBack(const std::u16string& path, CoverBytes pictureBytes,
                  std::int64_t claimedLength = 0) {
  ReadBack read;
  auto file = File::open(path, File::Mode::Read);
  FileBlocks blocks(*file, claimedLength > 0 ? claimedLength : file->size());
  read.streamStart = read.tag.read(blocks, pictureBytes);
  return read;
}

std::u16string linesOf(const TextLines& lines) {
  std::u16string text;
  for (std::size_t i = 0; i < lines.lineCount(); ++i) text += std::u16string(*lines.line(i)) + u"|";
  return text;
}

// The tag as read for the size only, after checking it against the tag read whole.
ID3v2Tag sizeOnlyAgreesWithKept(const ByteVector& contents) {
  testing::TempDir dir;
  const auto path = dir.file("t.mp3");
  EXPECT_TRUE(writeWholeFile(path, contents));
  const auto kept = readBack(path, CoverBytes::Kept);
  auto sized = readBack(path, CoverBytes::SizeOnly);
  const ID3v2Tag& a = kept.tag;
  const ID3v2Tag& b = sized.tag;
  EXPECT_EQ(kept.streamStart, sized.streamStart);
  EXPECT_EQ(a.isPresent(), b.isPresent());
  const auto texts = [](const ID3v2Tag& tag) {
    return std::vector<std::u16string>{tag.title(), tag.artist(), tag.album(),
                                       tag.track(), tag.year(),   tag.genre()};
  };
  EXPECT_EQ(texts(a), texts(b));
  EXPECT_EQ(a.hasComment(), b.hasComment());
  EXPECT_EQ(linesOf(a.comment()), linesOf(b.comment()));
  EXPECT_EQ(a.hasLyrics(), b.hasLyrics());
  EXPECT_EQ(linesOf(a.lyrics()), linesOf(b.lyrics()));
  EXPECT_EQ(a.hasPicture(), b.hasPicture());
  EXPECT_EQ(a.pictureSize(), a.picture().size());
  EXPECT_EQ(b.pictureSize(), a.picture().size());
  EXPECT_TRUE(b.picture().empty());
  return std::move(sized.tag);
}

ByteVector pictureBody(std::string_view mime, std::uint8_t type, const ByteVector& data,
                       std::uint8_t encoding = 0, const ByteVector& description = {0}) {
  return concat({{encoding}, bytesOf(mime), {0}, {type}, description, data});
}

// A tag and the 20 bytes its owners read after it.
ByteVector fileOf(int version, const ByteVector& frames, std::uint32_t padding = 0,
                  std::uint8_t flags = 0) {
  return concat({id3v2Tag(version, frames, padding, flags), ByteVector(20, 0xFF)});
}

// Larger than a file window's read-ahead, so that the walk steps past it.
const ByteVector kLargePicture(30000, 0xD8);

TEST(ID3v2SizeOnly, PictureChoiceAndPlace) {
  const ByteVector small(700, 0x11);
  const auto texts = concat(
      {latin1("TIT2", "Song"), id3v2Frame(3, "COMM", concat({{0}, bytesOf("eng"), {0}, {'c'}})),
       id3v2Frame(3, "USLT", concat({{0}, bytesOf("eng"), {0}, bytesOf("la\nla")}))});
  const auto front = picture("image/jpeg", 3, kLargePicture);
  const auto other = picture("image/jpg", 0, small);
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, front)).pictureSize(), kLargePicture.size());
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, concat({front, texts}), 100)).title(), u"Song");
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, concat({texts, front}), 3000)).pictureSize(),
            kLargePicture.size());
  // The front cover wins wherever it stands; else the last other JPEG.
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, concat({front, other, texts}))).pictureSize(),
            kLargePicture.size());
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, concat({other, texts, front}))).pictureSize(),
            kLargePicture.size());
  EXPECT_EQ(
      sizeOnlyAgreesWithKept(fileOf(3, concat({picture("image/jpeg", 4, kLargePicture), other})))
          .pictureSize(),
      small.size());
  EXPECT_EQ(sizeOnlyAgreesWithKept(
                fileOf(3, concat({picture("image/gif", 3, kLargePicture), other, texts})))
                .pictureSize(),
            small.size());
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, concat({picture("image/jpeg", 3, {}), other})))
                .pictureSize(),
            small.size());
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, picture("image/png", 3, kLargePicture))).pictureSize(),
            kLargePicture.size());
  EXPECT_FALSE(
      sizeOnlyAgreesWithKept(fileOf(3, picture("image/gif", 3, kLargePicture))).hasPicture());
  EXPECT_FALSE(sizeOnlyAgreesWithKept(fileOf(3, picture("image/jpeg", 4, {}))).isPresent());
}

TEST(ID3v2SizeOnly, DescriptionsAroundTheFirstRead) {
  const ByteVector data(500, 0xAB);
  // Encoding, "image/jpeg", its NUL and the type take 13 bytes; "image/jpg" 12.
  const auto latin1Ending = [&](std::size_t end) {
    return fileOf(3, picture("image/jpeg", 3, data, 0, concat({ByteVector(end - 14, 'd'), {0}})));
  };
  for (const std::size_t end : {std::size_t{ID3v2Tag::kPictureHeadRead},
                                std::size_t{ID3v2Tag::kPictureHeadRead + 1}, std::size_t{700}})
    EXPECT_EQ(sizeOnlyAgreesWithKept(latin1Ending(end)).pictureSize(), data.size()) << end;
  // UTF-16: the pair that ends the description at the end of the first read,
  // right after it, and across it (the first byte read, the second not).
  const auto utf16Ending = [&](std::string_view mime, std::size_t end) {
    const std::size_t start = mime.size() + 3;
    return fileOf(3, picture(mime, 3, data, 1, concat({ByteVector(end - 2 - start, 'd'), {0, 0}})));
  };
  const auto head = ID3v2Tag::kPictureHeadRead;
  for (const auto& [mime, end] : {std::pair{"image/jpg", head}, std::pair{"image/jpg", head + 2},
                                  std::pair{"image/jpeg", head + 1}})
    EXPECT_EQ(sizeOnlyAgreesWithKept(utf16Ending(mime, end)).pictureSize(), data.size()) << end;
  // A NUL pair at an odd distance ends no UTF-16 description: the one after it does.
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, picture("image/jpg", 3, data, 1,
                                                     concat({ByteVector(115, 'd'), {0, 0, 0}}))))
                .pictureSize(),
            data.size());
  // Without a terminator the picture is empty: no cover, and no other either.
  const ByteVector noNul(400, 'x');
  EXPECT_FALSE(
      sizeOnlyAgreesWithKept(fileOf(3, picture("image/jpeg", 3, {}, 0, noNul))).hasPicture());
  EXPECT_FALSE(
      sizeOnlyAgreesWithKept(fileOf(3, picture("image/jpeg", 0, {}, 1, noNul))).hasPicture());
}

TEST(ID3v2SizeOnly, MalformedPictureFrames) {
  const auto front = picture("image/jpeg", 3, kLargePicture);
  const auto apic = [](const ByteVector& body) { return id3v2Frame(3, "APIC", body); };
  for (const auto& body :
       {ByteVector{}, ByteVector{0}, concat({{0}, bytesOf("image/jpeg")}),
        concat({{0}, bytesOf("image/jpeg"), {0}}), concat({{0}, bytesOf("image/jpeg"), {0, 3}}),
        concat({{0}, bytesOf("image/jpeg"), ByteVector(300, 'x'), {0, 3, 0}}),
        concat({{0}, ByteVector(kLargePicture.size(), 'x')})})
    EXPECT_FALSE(sizeOnlyAgreesWithKept(fileOf(3, apic(body), 10)).hasPicture()) << body.size();
  // A picture frame running past the tag end ends the walk; the cover before it stays.
  auto cut = concat({front, picture("image/jpeg", 3, ByteVector(50, 1))});
  cut[cut.size() - 68] = 0x10;
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(3, cut)).pictureSize(), kLargePicture.size());
  // Compressed or encrypted pictures are stepped over.
  for (const auto& [version, flag] :
       {std::pair{3, 0x80}, std::pair{3, 0x40}, std::pair{4, 0x08}, std::pair{4, 0x01}})
    EXPECT_FALSE(sizeOnlyAgreesWithKept(
                     fileOf(version, concat({id3v2Frame(version, "APIC",
                                                        pictureBody("image/jpeg", 3, kLargePicture),
                                                        static_cast<std::uint8_t>(flag)),
                                             latin1("TIT2", "after", version)})))
                     .hasPicture());
  // A NUL byte after a frame ends the walk, even before another cover.
  EXPECT_EQ(sizeOnlyAgreesWithKept(
                fileOf(3, concat({picture("image/jpeg", 0, ByteVector(200, 2)), {0}, front})))
                .pictureSize(),
            200u);
  // An ID with a NUL byte matches nothing, and the walk goes on.
  EXPECT_EQ(sizeOnlyAgreesWithKept(
                fileOf(3, concat({id3v2Frame(3, std::string_view("\0PIC", 4),
                                             pictureBody("image/jpeg", 3, kLargePicture)),
                                  picture("image/jpeg", 3, ByteVector(300, 3))})))
                .pictureSize(),
            300u);
}

TEST(ID3v2SizeOnly, HeadersAndTagEnds) {
  const auto front = picture("image/jpeg", 3, kLargePicture);
  // Version 4 sizes are syncsafe, and weighted as such even when a byte is not.
  const auto v4 = concat({id3v2Frame(4, "APIC", pictureBody("image/jpeg", 3, kLargePicture)),
                          latin1("TIT2", "four", 4)});
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(4, v4)).pictureSize(), kLargePicture.size());
  auto unsafe = concat({bytesOf("APIC"),
                        {0, 0, 0x81, 0},
                        {0, 0},
                        pictureBody("image/jpeg", 3, ByteVector(0x81 * 128 - 14, 4)),
                        latin1("TIT2", "four", 4)});
  EXPECT_EQ(sizeOnlyAgreesWithKept(fileOf(4, unsafe)).pictureSize(), 0x81u * 128 - 14);
  // Extended headers of both versions, one running past the tag end, and a
  // version 3 size that wraps around when its own four bytes are added.
  EXPECT_TRUE(
      sizeOnlyAgreesWithKept(fileOf(3, concat({{0, 0, 0, 6}, ByteVector(6, 0), front}), 0, 0x40))
          .hasPicture());
  EXPECT_TRUE(
      sizeOnlyAgreesWithKept(
          fileOf(4,
                 concat({{0, 0, 0, 6},
                         {1, 0},
                         id3v2Frame(4, "APIC", pictureBody("image/jpeg", 3, kLargePicture))}),
                 0, 0x40))
          .isPresent());
  EXPECT_FALSE(sizeOnlyAgreesWithKept(fileOf(4, concat({{0x7F, 0x7F, 0x7F, 0x7F}, front}), 0, 0x40))
                   .isPresent());
  sizeOnlyAgreesWithKept(fileOf(3, concat({{0xFF, 0xFF, 0xFF, 0xFE}, front}), 0, 0x40));
  // The tag is read only when the file holds the 20 bytes after it.
  const auto tag = id3v2Tag(3, concat({latin1("TIT2", "x"), front}));
  EXPECT_TRUE(sizeOnlyAgreesWithKept(concat({tag, ByteVector(20, 0)})).hasPicture());
  EXPECT_FALSE(sizeOnlyAgreesWithKept(concat({tag, ByteVector(19, 0)})).isPresent());
  EXPECT_FALSE(sizeOnlyAgreesWithKept(tag).isPresent());
}

TEST(ID3v2SizeOnly, TagThatCannotBeReadToItsEndIsNone) {
  // The file ends inside the picture, but its owner takes it for longer: the
  // walk fails at the frame after the picture, as the block would.
  testing::TempDir dir;
  const auto path = dir.file("t.mp3");
  const auto whole =
      fileOf(3, concat({picture("image/jpeg", 3, kLargePicture), latin1("TIT2", "x")}));
  ASSERT_TRUE(writeWholeFile(path, ByteVector(whole.begin(), whole.begin() + 20000)));
  const auto length = static_cast<std::int64_t>(whole.size());
  const auto kept = readBack(path, CoverBytes::Kept, length);
  const auto sized = readBack(path, CoverBytes::SizeOnly, length);
  EXPECT_FALSE(kept.tag.isPresent());
  EXPECT_FALSE(sized.tag.isPresent());
  EXPECT_FALSE(sized.tag.hasPicture());
  EXPECT_EQ(sized.streamStart, kept.streamStart);
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
