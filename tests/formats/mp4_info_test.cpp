#include "formats/mp4_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "formats/mp4_item_list.h"
#include "io/file.h"
#include "support/cover_bytes_modes.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"
#include "text/debug_log.h"

namespace tunora {
namespace {

using namespace testing;

std::u16string lineOf(const TextLines* lines, std::size_t index = 0) {
  if (!lines || !lines->line(index)) return u"(none)";
  return std::u16string(*lines->line(index));
}

using MP4File = TrackFileTest<MP4Info>;

TEST(MP4RealFiles, FfmpegFileWithTextItemsAndCover) {
  MP4Info info;
  EXPECT_EQ(info.readFile(fixturePath("formats/aac_tags_cover.m4a")), ReadResult::Read);
  EXPECT_TRUE(info.hasTag());
  EXPECT_EQ(info.getPresentTags(), u"iTunes-Metadata");
  EXPECT_EQ(info.getTitle(), u"Caf\u00E9 Noir");
  EXPECT_EQ(info.getArtist(), u"Tunora Ensemble");
  EXPECT_EQ(info.getAlbum(), u"Fixtures");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getGenre(), u"Ambient");
  EXPECT_EQ(info.getTrackNumber(), u"7/12");
  EXPECT_EQ(info.getSampleRate(), u"44100");
  EXPECT_EQ(info.getStereoMode(), u"2");
  // The descriptor's average, 2110 bit/s of silence; the cover and the
  // tags are not audio.
  EXPECT_EQ(info.getBitrate(), u"2");
  ASSERT_TRUE(info.hasComment());
  EXPECT_EQ(lineOf(info.getComment()), u"made by ffmpeg");
  ASSERT_TRUE(info.hasCover());
  const auto* cover = info.getCoverData();
  ASSERT_NE(cover, nullptr);
  ASSERT_GT(cover->size(), 100u);
  EXPECT_EQ((*cover)[0], 0xFF);
  EXPECT_EQ((*cover)[1], 0xD8);
  EXPECT_FALSE(info.hasLyrics());
}

TEST(MP4RealFiles, AtomicParsleyNumberedGenreAndTrackPair) {
  MP4Info info;
  EXPECT_EQ(info.readFile(fixturePath("formats/atomicparsley_gnre_trkn.m4a")), ReadResult::Read);
  EXPECT_EQ(info.getTitle(), u"Numbered");
  EXPECT_EQ(info.getGenre(), u"Blues");
  EXPECT_EQ(info.getTrackNumber(), u"3/12");
  EXPECT_EQ(info.getSampleRate(), u"22050");
  EXPECT_EQ(info.getArtist(), u"Unknown");
}

TEST(MP4RealFiles, FfmpegStreamValuesAsFfprobeReadsThem) {
  // ffmpeg writes 2 into every AAC sample entry; the channels come from the
  // stream's own configuration, the bit rate from its descriptor (ffprobe:
  // 25381, 71144, 703 bit/s), not from a file that holds a cover.
  const struct {
    const char* fixture;
    const char16_t* channels;
    const char16_t* sampleRate;
    const char16_t* bitrate;
  } cases[] = {
      {"formats/aac_mono_cover_lyrics.m4a", u"1", u"22050", u"24"},
      {"formats/aac_six_channels.m4a", u"6", u"48000", u"69"},
      {"formats/atomicparsley_gnre_trkn.m4a", u"1", u"22050", u"0"},
  };
  for (const auto& c : cases) {
    MP4Info info;
    EXPECT_EQ(info.readFile(fixturePath(c.fixture)), ReadResult::Read) << c.fixture;
    EXPECT_EQ(info.getStereoMode(), c.channels) << c.fixture;
    EXPECT_EQ(info.getSampleRate(), c.sampleRate) << c.fixture;
    EXPECT_EQ(info.getBitrate(), c.bitrate) << c.fixture;
  }
}

TEST(MP4RealFiles, MutagenLyricsAndCover) {
  MP4Info info;
  EXPECT_EQ(info.readFile(fixturePath("formats/aac_mono_cover_lyrics.m4a")), ReadResult::Read);
  EXPECT_EQ(info.getTitle(), u"Mono With Cover");
  ASSERT_TRUE(info.hasLyrics());
  EXPECT_EQ(info.getLyrics()->lineCount(), 2u);
  EXPECT_EQ(lineOf(info.getLyrics(), 0), u"First line");
  EXPECT_EQ(lineOf(info.getLyrics(), 1), u"Second line");
  EXPECT_GT(info.getCoverSize(), 2000u);
}

TEST(MP4Items, LyricsLineEndings) {
  const struct {
    const char* text;
    std::vector<std::u16string> lines;
  } cases[] = {
      {"a\rb", {u"a", u"b"}},          {"a\r\nb", {u"a", u"b"}}, {"a\nb", {u"a", u"b"}},
      {"a\r\r\nb", {u"a", u"", u"b"}}, {"a\r", {u"a", u""}},     {"\xC3\xA9", {u"\u00E9"}},
  };
  for (const auto& c : cases) {
    const MP4ItemList list(atom("ilst", textItem("\251lyr", c.text)));
    ASSERT_TRUE(list.hasLyrics()) << c.text;
    ASSERT_EQ(list.lyrics().lineCount(), c.lines.size()) << c.text;
    for (std::size_t i = 0; i < c.lines.size(); ++i)
      EXPECT_EQ(*list.lyrics().line(i), c.lines[i]) << c.text;
  }
  // An empty item is no lyrics, and lyrics are no comment.
  EXPECT_FALSE(MP4ItemList(atom("ilst", textItem("\251lyr", ""))).hasLyrics());
  EXPECT_FALSE(MP4ItemList(atom("ilst", textItem("\251lyr", "x"))).hasComment());
}

// An audio track whose sample table holds these atoms besides a plain entry.
ByteVector trackWithTable(std::uint32_t timeScale, std::uint32_t duration,
                          const ByteVector& table) {
  const ByteVector stbl = atom("stbl", {sampleDescriptions(2), table});
  const ByteVector media = atom("mdia", {mediaHeader(timeScale, duration), atom("minf", {stbl})});
  return concat({fileType(), atom("moov", {atom("trak", {trackHeader(false), media})})});
}

ByteVector sampleSizes(std::uint32_t shared, std::uint32_t count, const ByteVector& sizes = {}) {
  return atom("stsz", concat({be32(0), be32(shared), be32(count), sizes}));
}

TEST_F(MP4File, BitRateFromTheSampleSizesWithoutAnAverage) {
  // Samples of 1000 bytes in 2.5 s: 32,000 bit/s, shown as 31, whatever else
  // the file holds.
  ByteVector tenSizes;
  for (int i = 0; i < 10; ++i) tenSizes = concat({tenSizes, be32(1000)});
  const struct {
    ByteVector table;
    std::size_t fileSize;
    const char16_t* bitrate;
  } cases[] = {
      {sampleSizes(1000, 10), 100000, u"31"},
      {sampleSizes(0, 10, tenSizes), 100000, u"31"},
      // The sum may be the whole file, not one byte more; beyond it, or with
      // more sizes than the atom holds, the whole file over the whole seconds
      // counts as before.
      {sampleSizes(1000, 10), 10000, u"31"},
      {sampleSizes(1000, 10), 9999, u"39"},
      {sampleSizes(0, 11, tenSizes), 100000, u"390"},
      {sampleSizes(0, 0), 100000, u"390"},
      {atom("stsz", be32(0)), 100000, u"390"},
  };
  for (const auto& c : cases) {
    ByteVector bytes = trackWithTable(44100, 110250, c.table);
    ASSERT_LT(bytes.size(), c.fileSize);
    bytes.resize(c.fileSize, 0);
    const auto info = readAnother(bytes, "sizes.m4a");
    EXPECT_EQ(lastResult_, ReadResult::Read);
    EXPECT_EQ(info->getBitrate(), c.bitrate) << c.fileSize;
  }
}

TEST_F(MP4File, VideoTrackBeforeAudioAndUserDataAfterTheTrack) {
  // The first track has a picture size; the metadata sits in moov after the
  // audio track rather than inside it.
  const ByteVector moov =
      atom("moov", {track(true, 90000, 900000, 0), track(false, 48000, 480000, 1),
                    userData(textItem("\251nam", "After"))});
  EXPECT_EQ(read(concat({fileType(), moov})), ReadResult::Read);
  EXPECT_EQ(info_.getSampleRate(), u"48000");
  EXPECT_EQ(info_.getStereoMode(), u"1");
  EXPECT_EQ(info_.getTitle(), u"After");
}

TEST_F(MP4File, VersionOneTrackHeadersAreNotTakenForAudio) {
  ByteVector trak = track(false, 44100, 441000, 2, userData(textItem("\251nam", "Hidden")));
  const ByteVector v0 = trackHeader(false, 0);
  const ByteVector v1 = trackHeader(false, 1);
  ByteVector replaced(trak.begin(), trak.begin() + 8);
  replaced.insert(replaced.end(), v1.begin(), v1.end());
  replaced.insert(replaced.end(), trak.begin() + 8 + v0.size(), trak.end());
  replaced[3] = static_cast<std::uint8_t>(replaced.size());
  EXPECT_EQ(read(concat({fileType(), atom("moov", replaced)})), ReadResult::NotRecognised);
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getTitle(), u"Unknown");
  EXPECT_EQ(info_.getSampleRate(), u"Unknown");
}

TEST_F(MP4File, ItemListIsFoundBehindMetaOrThroughIt) {
  // Behind meta's version and flags, with or without a handler before it.
  EXPECT_EQ(read(m4aFile(textItem("\251nam", "x"))), ReadResult::Read);
  EXPECT_EQ(info_.getTitle(), u"x");
  const auto bare = readAnother(
      concat({fileType(), atom("moov", {track(false, 44100, 441000, 2,
                                              userData(textItem("\251nam", "b"), false))})}),
      "bare.m4a");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_EQ(bare->getTitle(), u"b");
  // udta whose first child is not meta: the fallback through meta finds ilst.
  const ByteVector udta =
      atom("udta", {atom("name", bytesOf("abcdefghijkl")),
                    atom("meta", {be32(0), atom("ilst", textItem("\251ART", "Y"))})});
  const auto other = readAnother(
      concat({fileType(), atom("moov", {track(false, 44100, 441000, 2, udta)})}), "fallback.m4a");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_EQ(other->getArtist(), u"Y");
}

TEST_F(MP4File, StreamValuesAndBitRate) {
  // 200 seconds in a file of 4,000,000 bytes: 160,000 bit/s, shown as 156.
  ByteVector bytes = m4aFile({}, 44100, 8820000);
  bytes.resize(4000000, 0);
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"156");
  EXPECT_EQ(info_.getSampleRate(), u"44100");
  EXPECT_EQ(info_.getStereoMode(), u"2");
  EXPECT_TRUE(info_.hasTag());
  EXPECT_EQ(info_.getPresentTags(), u"iTunes-Metadata");
}

TEST_F(MP4File, ZeroDurationOrTimeScaleLeavesBitRateUnknown) {
  EXPECT_EQ(read(m4aFile({}, 44100, 44099)), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"Unknown");
  EXPECT_EQ(info_.getSampleRate(), u"44100");
  const auto noScale = readAnother(m4aFile({}, 0, 1000), "noscale.m4a");
  EXPECT_EQ(noScale->getBitrate(), u"Unknown");
  EXPECT_EQ(noScale->getSampleRate(), u"Unknown");
}

TEST_F(MP4File, BitRateOfFilesAbove512MiBDoesNotWrap) {
  // A sparse file of 1 GiB over 100 seconds: 85,899,345 bit/s. Eight times
  // the size in 32 bits would wrap to 0.
  const std::u16string path = dir_.file("large.m4a");
  ASSERT_TRUE(writeWholeFile(path, m4aFile({}, 1000, 100000)));
  std::filesystem::resize_file(dir_.path() / "large.m4a", std::uint64_t{1} << 30);
  EXPECT_EQ(info_.readFile(path), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"83886");
}

TEST_F(MP4File, LargeSizeAtomIsSteppedOverWhole) {
  // An mdat with a 64-bit size in front of moov: its bytes hold a decoy
  // "moov" that a byte-by-byte walk would stop at.
  const ByteVector decoy = concat({be32(8), bytesOf("moov"), ByteVector(40, 0)});
  const ByteVector bytes = concat(
      {fileType(), largeAtom("mdat", decoy),
       atom("moov", {track(false, 32000, 320000, 2, userData(textItem("\251nam", "Real")))})});
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getTitle(), u"Real");
  EXPECT_EQ(info_.getSampleRate(), u"32000");
}

TEST_F(MP4File, MalformedSizesEndTheSearch) {
  // A 64-bit size smaller than its header, and a 32-bit size of 4.
  ByteVector tiny = concat({be32(1), bytesOf("free"), be64(8)});
  EXPECT_EQ(read(concat({tiny, m4aFile({})})), ReadResult::NotRecognised);
  ByteVector four = concat({be32(4), bytesOf("free"), m4aFile({})});
  const auto other = readAnother(four, "four.m4a");
  EXPECT_EQ(lastResult_, ReadResult::NotRecognised);
}

TEST_F(MP4File, ForeignFileIsNotRecognisedAndMissingUserDataKeepsStreamValues) {
  EXPECT_EQ(read(bytesOf("not an mp4 file at all, just some text")), ReadResult::NotRecognised);
  EXPECT_EQ(info_.getTitle(), u"Unknown");
  EXPECT_EQ(info_.getPresentTags(), u"None");

  const auto noUserData = readAnother(
      concat({fileType(), atom("moov", {track(false, 22050, 220500, 1)})}), "noudta.m4a");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_EQ(noUserData->getSampleRate(), u"22050");
  EXPECT_FALSE(noUserData->hasTag());

  MP4Info missing;
  EXPECT_EQ(missing.readFile(dir_.file("does-not-exist.m4a")), ReadResult::NotOpened);
  EXPECT_EQ(missing.getFileName(), dir_.file("does-not-exist.m4a"));
}

TEST_F(MP4File, ItemListLargerThanTheFileIsNotRead) {
  ByteVector bytes =
      concat({fileType(),
              atom("moov", {track(false, 44100, 441000, 2, userData(textItem("\251nam", "t")))})});
  // Claim an ilst of 2 GiB.
  const auto at = std::string(bytes.begin(), bytes.end()).find("ilst") - 4;
  bytes[at] = 0x7F;
  EXPECT_EQ(read(bytes), ReadResult::Incomplete);
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getTitle(), u"Unknown");
}

TEST_F(MP4File, ItemListAboveTheLimitIsNotTakenIntoMemory) {
  // 100 MB of claimed items in a sparse file large enough to hold them.
  ByteVector bytes = m4aFile(textItem("\251nam", "t"));
  const auto at = std::string(bytes.begin(), bytes.end()).find("ilst") - 4;
  bytes[at] = 0x06;
  bytes[at + 1] = 0x00;
  const std::u16string path = dir_.file("huge.m4a");
  ASSERT_TRUE(writeWholeFile(path, bytes));
  std::filesystem::resize_file(dir_.path() / "huge.m4a", std::uint64_t{200} << 20);
  EXPECT_EQ(info_.readFile(path), ReadResult::Incomplete);
  EXPECT_FALSE(info_.hasTag());
}

TEST_F(MP4File, FileOfTinyAtomsEndsPromptly) {
  // Every trak lacks a tkhd, so each search for one would run over all the
  // traks that follow: quadratic without a bound.
  ByteVector bytes = atom("moov", ByteVector{});
  bytes[3] = 8;
  for (int i = 0; i < 200000; ++i) {
    const ByteVector trak = concat({be32(8), bytesOf("trak")});
    bytes.insert(bytes.end(), trak.begin(), trak.end());
  }
  EXPECT_EQ(read(bytes), ReadResult::NotRecognised);
}

TEST(MP4Items, TrackNumberAndNumberedGenre) {
  auto parse = [](const ByteVector& items) { return MP4ItemList(atom("ilst", items)); };
  EXPECT_EQ(parse(item("trkn", concat({be16(0), be16(3), be16(0), be16(0)}))).track(), u"3");
  EXPECT_EQ(parse(item("trkn", concat({be16(0), be16(3), be16(12), be16(0)}))).track(), u"3/12");
  EXPECT_EQ(parse(item("trkn", concat({be16(0), be16(0), be16(12), be16(0)}))).track(), u"Unknown");
  // Only the 8-byte pair counts.
  EXPECT_EQ(parse(item("trkn", concat({be16(0), be16(3), be16(12)}))).track(), u"Unknown");

  EXPECT_EQ(parse(item("gnre", be16(1))).genre(), u"Blues");
  EXPECT_EQ(parse(item("gnre", be16(148))).genre(), u"SynthPop");
  EXPECT_EQ(parse(item("gnre", be16(0))).genre(), u"Unknown");
  EXPECT_EQ(parse(item("gnre", be16(149))).genre(), u"Unknown");
  EXPECT_EQ(parse(item("gnre", be32(1))).genre(), u"Unknown");
  // A text genre wins in either order.
  EXPECT_EQ(parse(concat({item("gnre", be16(1)), textItem("\251gen", "Jazz")})).genre(), u"Jazz");
  EXPECT_EQ(parse(concat({textItem("\251gen", "Jazz"), item("gnre", be16(1))})).genre(), u"Jazz");
}

TEST(MP4Items, AlbumArtistComposerAndDiscPair) {
  auto parse = [](const ByteVector& items) { return MP4ItemList(atom("ilst", items)); };
  const auto texts = parse(concat({textItem("aART", "Various"), textItem("\251wrt", "Writer")}));
  EXPECT_EQ(texts.albumArtist(), u"Various");
  EXPECT_EQ(texts.composer(), u"Writer");
  EXPECT_EQ(texts.disc(), u"Unknown");
  // Writers store the disc pair in 6 bytes, some in 8 like the track pair.
  const struct {
    ByteVector payload;
    std::u16string_view disc;
  } cases[] = {
      {concat({be16(0), be16(1), be16(2)}), u"1/2"},
      {concat({be16(0), be16(1), be16(0)}), u"1"},
      {concat({be16(0), be16(2), be16(3), be16(0)}), u"2/3"},
      {concat({be16(0), be16(0), be16(2)}), u"Unknown"},
      {concat({be16(0), be16(1)}), u"Unknown"},
      {concat({be16(0), be16(1), be16(2), be16(0), be16(0)}), u"Unknown"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(parse(item("disk", cases[i].payload)).disc(), cases[i].disc) << i;
}

TEST(MP4Items, TextDecodingAndReplacement) {
  auto parse = [](const ByteVector& items) { return MP4ItemList(atom("ilst", items)); };
  EXPECT_EQ(parse(textItem("\251nam", "Caf\xC3\xA9")).title(), u"Caf\u00E9");
  // Not UTF-8: taken byte by byte rather than losing the accents.
  EXPECT_EQ(parse(textItem("\251nam", "Caf\xE9")).title(), u"Caf\u00E9");
  EXPECT_EQ(parse(textItem("\251nam", "\260C")).title(), u"\u00B0C");
  EXPECT_EQ(parse(textItem("\251nam", "")).title(), u"Unknown");
  // Type letters compare without case; the last text item wins.
  const MP4ItemList texts = parse(
      concat({textItem("\251NAM", "one"), textItem("\251nam", "two"), textItem("\251alb", "A"),
              textItem("\251day", "1999"), textItem("\251ART", "R"), textItem("xxxx", "ignored")}));
  EXPECT_EQ(texts.title(), u"two");
  EXPECT_EQ(texts.album(), u"A");
  EXPECT_EQ(texts.year(), u"1999");
  EXPECT_EQ(texts.artist(), u"R");
}

TEST(MP4Items, SeveralDataAtomsJoinInStoredOrder) {
  const auto data = [](std::string_view text) {
    return atom("data", concat({be32(1), be32(0), bytesOf(text)}));
  };
  ByteVector wrongSize = data("B");
  wrongSize[3] = 0x40;
  ByteVector tooSmall = data("B");
  tooSmall[3] = 15;
  const struct {
    ByteVector children;
    std::u16string_view artist;
  } cases[] = {
      {concat({data("A"), data("B"), data("C")}), u"A; B; C"},
      {concat({data(""), data("B")}), u"B"},
      {concat({data(""), data("")}), u"Unknown"},
      // Only data atoms follow the first; another atom ends the values.
      {concat({data("A"), atom("name", bytesOf("xxxxxxxxxB"))}), u"A"},
      // A size that does not fit runs to the item's end, whose first NUL ends the text.
      {concat({data("A"), wrongSize}), u"A; B"},
      {concat({wrongSize, data("C")}), u"B"},
      {concat({tooSmall, data("C")}), u"B"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(MP4ItemList(atom("ilst", atom("\251ART", cases[i].children))).artist(),
              cases[i].artist)
        << i;
  // Numbers come from the first value alone.
  const auto track = atom(
      "trkn",
      {atom("data", concat({be32(0), be32(0), be16(0), be16(3), be16(0), be16(0)})), data("x")});
  EXPECT_EQ(MP4ItemList(atom("ilst", track)).track(), u"3");
}

TEST(MP4Items, CommentsAccumulateAndCoverKeepsEverythingAfterTheDataHeader) {
  const ByteVector ilst = atom(
      "ilst", concat({textItem("\251cmt", "one\n"), textItem("\251cmt", "two"),
                      item("covr", concat({bytesOf("JPEG"), atom("data", bytesOf("second"))}))}));
  const MP4ItemList list(ilst);
  ASSERT_TRUE(list.hasComment());
  EXPECT_EQ(list.comment().lineCount(), 2u);
  EXPECT_EQ(*list.comment().line(0), u"one");
  EXPECT_EQ(*list.comment().line(1), u"two");
  ASSERT_TRUE(list.cover());
  const auto cover =
      ByteVector(ilst.begin() + static_cast<std::ptrdiff_t>(list.cover()->offset), ilst.end());
  EXPECT_EQ(list.cover()->size, cover.size());
  EXPECT_EQ(cover, concat({bytesOf("JPEG"), atom("data", bytesOf("second"))}));

  // An empty comment still counts and reads "Unknown".
  const MP4ItemList empty = MP4ItemList(atom("ilst", textItem("\251cmt", "")));
  EXPECT_TRUE(empty.hasComment());
  EXPECT_EQ(*empty.comment().line(0), u"Unknown");
  EXPECT_FALSE(MP4ItemList(atom("ilst", item("covr", {}))).cover());
}

TEST(MP4Items, WalkEndsAtZeroSizeOrOverlongItem) {
  const ByteVector good = textItem("\251nam", "kept");
  ByteVector overlong = textItem("\251ART", "lost");
  overlong[3] = 0x7F;
  EXPECT_EQ(MP4ItemList(atom("ilst", concat({good, overlong}))).title(), u"kept");
  EXPECT_EQ(MP4ItemList(atom("ilst", concat({good, overlong}))).artist(), u"Unknown");
  const ByteVector zero = concat({be32(0), bytesOf("\251ART"), textItem("\251ART", "no")});
  EXPECT_EQ(MP4ItemList(atom("ilst", concat({good, zero}))).artist(), u"Unknown");
  // A cover item that claims more than the list holds stores nothing.
  ByteVector cover = item("covr", ByteVector(200, 1));
  cover[2] = 0x10;
  EXPECT_FALSE(MP4ItemList(atom("ilst", cover)).cover());
}

TEST_F(MP4File, YearAndGenreAreNormalisedOnQuery) {
  EXPECT_EQ(read(m4aFile(concat(
                {textItem("\251day", "2004-05-01T00:00:00Z"), textItem("\251gen", "(17)Rock")}))),
            ReadResult::Read);
  EXPECT_EQ(info_.getYear(), u"2004");
  EXPECT_EQ(info_.getGenre(), u"Rock");
}

// The listing measures the cover without reading it; every file below is
// read both ways, and both must agree with each other and with the size
// written here.
using MP4CoverSize = CoverSizeTest<MP4Info>;

TEST_F(MP4CoverSize, RealFilesAndWhereTheCoverItemStands) {
  EXPECT_GT(expectSameWithCoverSizeOnly<MP4Info>(fixturePath("formats/aac_tags_cover.m4a")), 100u);
  EXPECT_EQ(
      expectSameWithCoverSizeOnly<MP4Info>(fixturePath("formats/atomicparsley_gnre_trkn.m4a")), 0u);
  const ByteVector texts = concat({textItem("\251nam", "Title"), textItem("\251cmt", "note")});
  // Last, first (the items after it are still read), and the only item.
  EXPECT_EQ(measure(m4aFile(concat({texts, item("covr", ByteVector(30000, 0xAA))}))), 30000u);
  EXPECT_EQ(measure(m4aFile(concat({item("covr", ByteVector(30000, 0xAA)), texts}))), 30000u);
  EXPECT_EQ(measured()->getTitle(), u"Title");
  EXPECT_EQ(lineOf(measured()->getComment()), u"note");
  EXPECT_EQ(measure(m4aFile(item("COVR", ByteVector(1, 0xAA)))), 1u);
  // In a 64-bit item header.
  EXPECT_EQ(measure(m4aFile(concat(
                {largeAtom("covr", atom("data", concat({be32(13), be32(0), ByteVector(500, 1)}))),
                 texts}))),
            500u);
  // The metadata behind a large mdat, in the file's last bytes.
  const ByteVector moov =
      atom("moov", {track(false, 44100, 441000, 2,
                          userData(concat({texts, item("covr", ByteVector(9000, 0xBB)), texts})))});
  EXPECT_EQ(measure(concat({fileType(), atom("mdat", ByteVector(200000, 0x21)), moov})), 9000u);
  EXPECT_EQ(measured()->getTitle(), u"Title");
}

TEST_F(MP4CoverSize, EmptyDoubleAndBrokenCoverItems) {
  // Everything after the first data header, a second data atom included.
  const ByteVector twoData =
      atom("covr", {atom("data", concat({be32(13), be32(0), bytesOf("JPEG")})),
                    atom("data", concat({be32(13), be32(0), bytesOf("PNG")}))});
  EXPECT_EQ(measure(m4aFile(twoData)), 4u + 19u);
  // A data header without a payload, or not even that, is no cover, and
  // does not take away the one before it; of two covers the last stays.
  const ByteVector empty = item("covr", {});
  const ByteVector bare = atom("covr", ByteVector(10, 0));
  EXPECT_EQ(measure(m4aFile(empty)), 0u);
  EXPECT_EQ(measure(m4aFile(bare)), 0u);
  EXPECT_EQ(measure(m4aFile(concat({item("covr", ByteVector(700, 1)), empty, bare}))), 700u);
  EXPECT_EQ(measure(m4aFile(
                concat({item("covr", ByteVector(700, 1)), item("covr", ByteVector(6000, 2))}))),
            6000u);
  // A cover that claims one byte more than the list holds ends the walk.
  ByteVector overlong = item("covr", ByteVector(5000, 3));
  overlong[3] += 1;
  EXPECT_EQ(measure(m4aFile(concat({textItem("\251nam", "Before"), overlong}))), 0u);
  EXPECT_EQ(measured()->getTitle(), u"Before");
  // An item list that the file does not hold whole is not read either way.
  ByteVector cut = m4aFile(item("covr", ByteVector(5000, 4)));
  cut.resize(cut.size() - 64 - 8 - 1);
  EXPECT_EQ(measure(cut), 0u);
  EXPECT_FALSE(measured()->hasTag());
}

}  // namespace
}  // namespace tunora
