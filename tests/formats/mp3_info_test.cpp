#include "formats/mp3_info.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "support/format_bytes.h"
#include "support/stream_cases.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"
#include "tracks/track_class.h"

namespace tunora {
namespace {

using testing::apeItem;
using testing::apeTag;
using testing::bytesOf;
using testing::ByteVector;
using testing::concat;
using testing::fixturePath;
using testing::id3v1Block;
using testing::id3v2Frame;
using testing::id3v2Tag;
using testing::mpegFrame;
using testing::textBody;

std::u16string linesOf(const TextLines* lines) {
  std::u16string text;
  for (std::size_t i = 0; lines && i < lines->lineCount(); ++i)
    text += std::u16string(*lines->line(i)) + u"|";
  return text;
}

class MP3InfoFile : public ::testing::Test {
 protected:
  MP3Info& read(const ByteVector& contents) {
    info_ = std::make_unique<MP3Info>();
    const auto path = dir_.file("t.mp3");
    EXPECT_TRUE(writeWholeFile(path, contents));
    EXPECT_EQ(info_->readFile(path), ReadResult::Read);
    return *info_;
  }
  testing::TempDir dir_;
  std::unique_ptr<MP3Info> info_;
};

using FrameHeader = std::array<std::uint8_t, 4>;

// A frame of `size` bytes that starts with this header.
ByteVector frameWith(FrameHeader header, std::size_t size) {
  ByteVector frame(size, 0);
  std::copy(header.begin(), header.end(), frame.begin());
  return frame;
}

constexpr FrameHeader kMpeg1Header{0xFF, 0xFB, 0x90, 0x40};  // 417 bytes
constexpr FrameHeader kMpeg2Header{0xFF, 0xF3, 0x80, 0xC0};  // 208 bytes

// A frame whose Xing (or Info) header sits `offset` bytes into it.
ByteVector vbrFrame(FrameHeader header, std::size_t size, std::size_t offset, const char* kind,
                    std::uint32_t frames, std::uint32_t bytes, std::uint8_t flags = 3) {
  auto frame = frameWith(header, size);
  const auto xing =
      concat({bytesOf(kind), {0, 0, 0, flags}, testing::be32(frames), testing::be32(bytes)});
  std::copy(xing.begin(), xing.end(), frame.begin() + static_cast<std::ptrdiff_t>(offset));
  return frame;
}

// MPEG-1 Layer III, 64 kbit/s, 44100 Hz, joint stereo, with a Xing header.
ByteVector xingFrame(std::uint8_t flags, std::uint32_t frames, std::uint32_t bytes) {
  return vbrFrame({0xFF, 0xFB, 0x50, 0x40}, 417, 36, "Xing", frames, bytes, flags);
}

TEST(MP3Info, ConstantRateFileWithID3v23) {
  MP3Info info;
  ASSERT_EQ(info.readFile(fixturePath("tags/cbr128_id3v23.mp3")), ReadResult::Read);
  EXPECT_EQ(info.getBitrate(), u"128");
  EXPECT_EQ(info.getSampleRate(), u"44100");
  EXPECT_EQ(info.getStereoMode(), u"2");
  EXPECT_EQ(info.getTitle(), u"Id3lib Title");
  EXPECT_EQ(info.getArtist(), u"Id3lib Artist");
  EXPECT_EQ(info.getAlbum(), u"Id3lib Album");
  EXPECT_EQ(info.getYear(), u"1999");
  EXPECT_EQ(info.getTrackNumber(), u"3/12");
  // id3lib writes the genre as "(17)", ID3v2.3's own way of numbering it.
  EXPECT_EQ(info.getGenre(), u"Rock");
  EXPECT_EQ(linesOf(info.getComment()), u"A comment from id3lib|");
  EXPECT_EQ(info.getPresentTags(), u"ID3v2");
  EXPECT_FALSE(info.hasCover());
}

TEST(MP3Info, VariableRateFileWithID3v24Cover) {
  MP3Info info;
  ASSERT_EQ(info.readFile(fixturePath("tags/vbr_id3v24_cover.mp3")), ReadResult::Read);
  EXPECT_EQ(info.getTitle(), u"Titl\u00E9 UTF-16");
  EXPECT_EQ(info.getArtist(), u"Artist \u00FC UTF-8");
  EXPECT_EQ(info.getAlbum(), u"Album Latin-1");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getTrackNumber(), u"03/12");
  EXPECT_EQ(info.getGenre(), u"Pop");
  EXPECT_EQ(linesOf(info.getComment()), u"First comment|");
  EXPECT_EQ(linesOf(info.getLyrics()), u"Line one|Line two|");
  // The JPEG front cover (16 x 16) is kept, not the PNG front or the back cover.
  ASSERT_TRUE(info.hasCover());
  const auto* cover = info.getCoverData();
  ASSERT_NE(cover, nullptr);
  EXPECT_EQ(cover->size(), 225u);
  EXPECT_EQ((*cover)[0], 0xFF);
  EXPECT_EQ((*cover)[1], 0xD8);
  // A Xing header: the rate comes from its counts, not from the frame header.
  EXPECT_NE(info.getBitrate(), u"Unknown");
  EXPECT_EQ(info.getSampleRate(), u"44100");
}

// Files as taggers write them (see make_tagger_fixtures.py); the expected
// values are those mutagen-inspect lists.
TEST(MP3Info, TaggerHabits) {
  const struct {
    const char* file;
    std::u16string_view title;
    std::u16string_view artist;
    std::u16string_view genre;
    std::u16string_view comment;
    std::size_t cover;
    std::u16string_view tags;
  } cases[] = {
      {"tags/itunes_comments_v23.mp3", u"Unknown", u"Unknown", u"Rock", u"Plain comment|", 0,
       u"ID3v2"},
      {"tags/multi_value_v24.mp3", u"One; Two", u"Alpha; Beta", u"Rock; Jazz; Remix", u"", 0,
       u"ID3v2"},
      {"tags/id3v22_itunes.mp3", u"v2.2 Title", u"v2.2 Artist", u"Jazz", u"v2.2 comment|", 225,
       u"ID3v2"},
      {"tags/png_front_cover.mp3", u"Unknown", u"Unknown", u"Unknown", u"", 189, u"ID3v2"},
      {"tags/apev2_front_cover.mp3", u"Ape Cover", u"Unknown", u"Unknown", u"", 225, u"APEv2"},
  };
  for (const auto& c : cases) {
    MP3Info info;
    ASSERT_EQ(info.readFile(fixturePath(c.file)), ReadResult::Read) << c.file;
    EXPECT_EQ(info.getTitle(), c.title) << c.file;
    EXPECT_EQ(info.getArtist(), c.artist) << c.file;
    EXPECT_EQ(info.getGenre(), c.genre) << c.file;
    EXPECT_EQ(linesOf(info.getComment()), c.comment) << c.file;
    EXPECT_EQ(info.getPresentTags(), c.tags) << c.file;
    EXPECT_EQ(info.getCoverSize(), c.cover) << c.file;
    // The stream starts after the tag of every version.
    EXPECT_EQ(info.getSampleRate(), u"44100") << c.file;
    EXPECT_EQ(info.getStereoMode(), u"1") << c.file;
    if (c.cover == 0) continue;
    const auto* cover = info.getCoverData();
    ASSERT_NE(cover, nullptr) << c.file;
    EXPECT_EQ(cover->size(), c.cover) << c.file;
  }
  MP3Info v22;
  v22.readFile(fixturePath("tags/id3v22_itunes.mp3"));
  EXPECT_EQ(v22.getAlbum(), u"v2.2 Album");
  EXPECT_EQ(v22.getYear(), u"1998");
  EXPECT_EQ(v22.getTrackNumber(), u"4/9");
  EXPECT_EQ(linesOf(v22.getLyrics()), u"v2.2 lyrics|");
  EXPECT_EQ(v22.getBitrate(), u"32");
}

TEST(MP3Info, MonoFileWithOnlyABackCover) {
  MP3Info info;
  ASSERT_EQ(info.readFile(fixturePath("tags/mono_back_cover.mp3")), ReadResult::Read);
  EXPECT_EQ(info.getStereoMode(), u"1");
  EXPECT_EQ(info.getBitrate(), u"64");
  ASSERT_TRUE(info.hasCover());
  EXPECT_EQ(info.getCoverData()->size(), 230u);
  // The tag holds only a picture: it is present and answers "Unknown".
  EXPECT_TRUE(info.hasTag());
  EXPECT_EQ(info.getTitle(), u"Unknown");
}

TEST(MP3Info, ID3v1Versions) {
  MP3Info v11;
  ASSERT_EQ(v11.readFile(fixturePath("tags/id3v1_1.mp3")), ReadResult::Read);
  EXPECT_EQ(v11.getTitle(), u"V1 Title");
  EXPECT_EQ(v11.getTrackNumber(), u"7");
  EXPECT_EQ(v11.getGenre(), u"SynthPop");
  EXPECT_EQ(v11.getYear(), u"2001");
  EXPECT_EQ(linesOf(v11.getComment()), u"v1 comment|");
  EXPECT_EQ(v11.getPresentTags(), u"ID3v1");

  MP3Info v10;
  ASSERT_EQ(v10.readFile(fixturePath("tags/id3v1_0.mp3")), ReadResult::Read);
  EXPECT_EQ(v10.getTrackNumber(), u"");
  EXPECT_EQ(v10.getAlbum(), u"");
  EXPECT_EQ(linesOf(v10.getComment()), u"A comment that uses all thirty|");
}

TEST(MP3Info, APEv2TagsAnswerBeforeID3v1) {
  for (const char* name : {"tags/apev2_id3v1.mp3", "tags/apev2_only.mp3"}) {
    MP3Info info;
    ASSERT_EQ(info.readFile(fixturePath(name)), ReadResult::Read);
    EXPECT_EQ(info.getArtist(), u"Ape Artist") << name;
    EXPECT_EQ(info.getTitle(), u"Ape Title");
    EXPECT_EQ(info.getYear(), u"2003");
    EXPECT_EQ(info.getGenre(), u"Techno");
    EXPECT_EQ(info.getTrackNumber(), u"9");
    EXPECT_EQ(linesOf(info.getComment()), u"Ape comment|");
    EXPECT_EQ(linesOf(info.getLyrics()), u"Ape lyrics|");
  }
  MP3Info both;
  both.readFile(fixturePath("tags/apev2_id3v1.mp3"));
  EXPECT_EQ(both.getPresentTags(), u"ID3v1,APEv2");
}

TEST(MP3Info, ThreeTagsTogether) {
  MP3Info info;
  ASSERT_EQ(info.readFile(fixturePath("tags/id3v2_apev2_id3v1.mp3")), ReadResult::Read);
  EXPECT_EQ(info.getPresentTags(), u"ID3v1,ID3v2,APEv2");
  // ID3v2 answers by presence: its missing album is not taken from APEv2.
  EXPECT_EQ(info.getTitle(), u"Id3lib Title");
  EXPECT_EQ(info.getAlbum(), u"Unknown");
  // Comments come from APEv2 first.
  EXPECT_EQ(linesOf(info.getComment()), u"Ape comment|");
}

TEST(MP3Info, Lyrics3BeforeID3v1) {
  MP3Info info;
  ASSERT_EQ(info.readFile(fixturePath("tags/lyrics3_id3v1.mp3")), ReadResult::Read);
  EXPECT_EQ(info.getPresentTags(), u"ID3v1,L3v2");
  EXPECT_TRUE(info.hasLyrics());
  EXPECT_EQ(linesOf(info.getLyrics()), u"[00:01]First line\r|Second line \u00E4|");
  EXPECT_EQ(info.getTitle(), u"V1 Title");
  // The ID3v1 album wins over the block's EAL.
  EXPECT_EQ(info.getAlbum(), u"V1 Album");
}

TEST(MP3Info, Lyrics3ExtendedFieldsAlone) {
  MP3Info info;
  ASSERT_EQ(info.readFile(fixturePath("tags/lyrics3_extended_only.mp3")), ReadResult::Read);
  EXPECT_EQ(info.getPresentTags(), u"L3v2");
  EXPECT_FALSE(info.hasTag());
  EXPECT_EQ(info.getTitle(), u"A Title Longer Than Thirty Characters \u00E9");
  EXPECT_EQ(info.getArtist(), u"Lyrics Artist");
  EXPECT_EQ(info.getAlbum(), u"Lyrics Album");
  EXPECT_EQ(linesOf(info.getLyrics()), u"Only words|");
  EXPECT_EQ(info.getBitrate(), u"128");
}

TEST(MP3Info, UnreadableFileGivesDefaults) {
  MP3Info info;
  EXPECT_EQ(info.readFile(u"/no/such/file.mp3"), ReadResult::NotOpened);
  EXPECT_EQ(info.getFileName(), u"/no/such/file.mp3");
  EXPECT_EQ(info.getTitle(), u"Unknown");
  EXPECT_EQ(info.getPresentTags(), u"None");
  EXPECT_EQ(info.getComment(), nullptr);
}

// What the tags listing shows of a file, read with its cover kept or with
// the cover's size only; the kept cover's size is that of its bytes.
std::u16string listingOf(const std::u16string& path, CoverBytes cover) {
  auto track = readSupportedTrack({path}, FileTypeSwitches{}, nullptr, cover);
  if (!track) return u"unsupported";
  std::size_t coverBytes = track->getCoverSize();
  if (cover == CoverBytes::Kept && track->hasCover()) {
    EXPECT_EQ(track->getCoverData()->size(), coverBytes);
    coverBytes = track->getCoverData()->size();
  }
  std::u16string listing;
  for (const auto& text :
       {track->getArtist(), track->getAlbum(), track->getTitle(), track->getYear(),
        track->getGenre(), track->getTrackNumber(), track->getBitrate(), track->getSampleRate(),
        track->getStereoMode(), track->getPresentTags()})
    listing += text + u";";
  for (const bool flag :
       {track->hasTag(), track->hasComment(), track->hasLyrics(), track->hasCover()})
    listing += flag ? u"1" : u"0";
  const auto bytes = std::to_string(coverBytes);
  return listing + u";" + linesOf(track->getComment()) + u";" + linesOf(track->getLyrics()) + u";" +
         std::u16string(bytes.begin(), bytes.end());
}

TEST(MP3Info, ListingIsTheSameWithTheCoverSizeOnly) {
  std::vector<std::u16string> paths;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(TUNORA_FIXTURES_DIR) / "tags"))
    if (entry.path().extension() == ".mp3" || entry.path().extension() == ".aac")
      paths.push_back(testing::toU16(entry.path()));
  EXPECT_GE(paths.size(), 10u);
  // A file shaped as the libraries the listing runs over: texts in UTF-16, a
  // front cover larger than a file window's read-ahead, padding, the stream
  // and an ID3v1 tag.
  const auto utf16 = [](std::u16string_view text) {
    ByteVector body{0xFF, 0xFE};
    for (const char16_t unit : text)
      body.insert(body.end(), {std::uint8_t(unit), std::uint8_t(unit >> 8)});
    return body;
  };
  const auto frames = concat(
      {id3v2Frame(3, "TIT2", textBody(1, utf16(u"Caf\u00E9 Song"))),
       id3v2Frame(3, "TPE1", textBody(1, utf16(u"Band"))),
       id3v2Frame(3, "USLT", concat({{1}, bytesOf("eng"), {0xFF, 0xFE, 0, 0}, utf16(u"la\nla")})),
       id3v2Frame(3, "APIC",
                  concat({{0}, bytesOf("image/jpeg"), {0, 3, 0}, ByteVector(30000, 0xD8)}))});
  testing::TempDir dir;
  paths.push_back(dir.file("library.mp3"));
  ASSERT_TRUE(
      writeWholeFile(paths.back(), concat({id3v2Tag(3, frames, 2048), mpegFrame(9, 0, 0),
                                           mpegFrame(9, 0, 0), id3v1Block({.title = "v1"})})));
  for (const auto& path : paths) {
    const auto kept = listingOf(path, CoverBytes::Kept);
    EXPECT_EQ(kept, listingOf(path, CoverBytes::SizeOnly)) << std::string(path.begin(), path.end());
  }
  const auto listed = listingOf(paths.back(), CoverBytes::SizeOnly);
  EXPECT_TRUE(listed.starts_with(u"Band;Unknown;Caf\u00E9 Song;")) << listed.size();
  EXPECT_TRUE(listed.ends_with(u";la|la|;30000")) << listed.size();
}

TEST_F(MP3InfoFile, XingHeaderGivesTheAverageRate) {
  const auto tail = ByteVector(200, 0);
  // 4,180,000 bytes in 10,000 frames at 44100 Hz: 128,012.5 bit/s.
  EXPECT_EQ(read(concat({xingFrame(3, 10000, 4180000), tail})).getBitrate(), u"128");
  MP3Info onlyFrames;
  const auto path = dir_.file("frames.mp3");
  writeWholeFile(path, concat({xingFrame(1, 10000, 4180000), tail}));
  onlyFrames.readFile(path);
  EXPECT_EQ(onlyFrames.getBitrate(), u"Unknown");
  EXPECT_EQ(onlyFrames.getSampleRate(), u"44100");
  MP3Info noFrames;
  writeWholeFile(path, concat({xingFrame(3, 0, 4180000), tail}));
  noFrames.readFile(path);
  EXPECT_EQ(noFrames.getBitrate(), u"Unknown");
  // Absurd counts give no rate rather than an overflowing one.
  MP3Info absurd;
  writeWholeFile(path, concat({xingFrame(3, 1, 0xFFFFFFFF), tail}));
  absurd.readFile(path);
  EXPECT_EQ(absurd.getBitrate(), u"Unknown");
}

TEST_F(MP3InfoFile, FrameHeaderTables) {
  EXPECT_EQ(read(concat({mpegFrame(0, 1, 3), ByteVector(100, 0)})).getBitrate(), u"Unknown");
  EXPECT_EQ(info_->getSampleRate(), u"48000");
  EXPECT_EQ(info_->getStereoMode(), u"1");
  MP3Info other;
  const auto path = dir_.file("other.mp3");
  writeWholeFile(path, concat({mpegFrame(14, 2, 2), ByteVector(100, 0)}));
  other.readFile(path);
  EXPECT_EQ(other.getBitrate(), u"320");
  EXPECT_EQ(other.getSampleRate(), u"32000");
  EXPECT_EQ(other.getStereoMode(), u"2");
  MP3Info reserved;
  writeWholeFile(path, concat({mpegFrame(15, 3, 0), ByteVector(100, 0)}));
  reserved.readFile(path);
  EXPECT_EQ(reserved.getBitrate(), u"Unknown");
  EXPECT_EQ(reserved.getSampleRate(), u"Unknown");
}

// Stream values of files written by lame and ffmpeg, as ffprobe reads them
// (its bit rate in kbit/s, rounded down).
TEST(MP3Info, EncoderFilesAtEveryVersionAndRate) {
  const testing::StreamCase cases[] = {
      {"mpeg/lame_cbr32_8000_mono.mp3", u"32", u"8000", u"1"},
      {"mpeg/lame_cbr32_11025_mono.mp3", u"32", u"11025", u"1"},
      {"mpeg/lame_cbr32_12000_mono.mp3", u"32", u"12000", u"1"},
      {"mpeg/lame_cbr32_16000_mono.mp3", u"32", u"16000", u"1"},
      {"mpeg/lame_cbr32_22050_mono.mp3", u"32", u"22050", u"1"},
      {"mpeg/lame_cbr32_24000_mono.mp3", u"32", u"24000", u"1"},
      // Xing counts over 576 samples a frame.
      {"mpeg/lame_vbr_8000_stereo.mp3", u"25", u"8000", u"2"},
      {"mpeg/lame_vbr_11025_stereo.mp3", u"27", u"11025", u"2"},
      {"mpeg/lame_vbr_12000_stereo.mp3", u"28", u"12000", u"2"},
      {"mpeg/lame_vbr_16000_stereo.mp3", u"33", u"16000", u"2"},
      {"mpeg/lame_vbr_22050_stereo.mp3", u"33", u"22050", u"2"},
      {"mpeg/lame_vbr_24000_stereo.mp3", u"34", u"24000", u"2"},
      // Constant rate with lame's Info header: the frame header's rate.
      {"tags/mpeg2.mp3", u"64", u"22050", u"2"},
      {"tags/cbr128_id3v23.mp3", u"128", u"44100", u"2"},
      {"mpeg/layer2_192_48000.mp3", u"192", u"48000", u"2"},
  };
  testing::expectStreamValues<MP3Info>(cases);
}

TEST(MpegFrameHeader, FieldsOfEveryVersionAndLayer) {
  struct Case {
    FrameHeader bytes;
    MpegVersion version;
    int layer;
    std::uint32_t bitsPerSecond, sampleRate, channels, length, samples, xingOffset;
  };
  using enum MpegVersion;
  const Case cases[] = {
      {{0xFF, 0xFB, 0x90, 0x40}, Mpeg1, 3, 128000, 44100, 2, 417, 1152, 36},
      {{0xFF, 0xFA, 0x92, 0xC0}, Mpeg1, 3, 128000, 44100, 1, 418, 1152, 21},
      {{0xFF, 0xFB, 0xE8, 0x00}, Mpeg1, 3, 320000, 32000, 2, 1440, 1152, 36},
      {{0xFF, 0xFB, 0x00, 0x00}, Mpeg1, 3, 0, 44100, 2, 0, 1152, 36},
      {{0xFF, 0xFD, 0xA4, 0x04}, Mpeg1, 2, 192000, 48000, 2, 576, 1152, 36},
      {{0xFF, 0xFF, 0x10, 0x00}, Mpeg1, 1, 32000, 44100, 2, 32, 384, 36},
      {{0xFF, 0xFF, 0xE2, 0x00}, Mpeg1, 1, 448000, 44100, 2, 488, 384, 36},
      {{0xFF, 0xF3, 0x80, 0xC0}, Mpeg2, 3, 64000, 22050, 1, 208, 576, 13},
      {{0xFF, 0xF3, 0x84, 0x00}, Mpeg2, 3, 64000, 24000, 2, 192, 576, 21},
      {{0xFF, 0xF5, 0xE8, 0x00}, Mpeg2, 2, 160000, 16000, 2, 1440, 1152, 21},
      {{0xFF, 0xF7, 0xE0, 0x00}, Mpeg2, 1, 256000, 22050, 2, 556, 384, 21},
      {{0xFF, 0xE3, 0x48, 0xC4}, Mpeg25, 3, 32000, 8000, 1, 288, 576, 13},
      {{0xFF, 0xE3, 0xE2, 0x00}, Mpeg25, 3, 160000, 11025, 2, 1045, 576, 21},
      {{0xFF, 0xE5, 0xEA, 0x00}, Mpeg25, 2, 160000, 8000, 2, kMaxMpegFrameLength, 1152, 21},
  };
  for (const auto& c : cases) {
    const auto header = parseMpegFrameHeader(c.bytes);
    ASSERT_TRUE(header) << int(c.bytes[1]) << " " << int(c.bytes[2]);
    EXPECT_EQ(header->version, c.version) << int(c.bytes[2]);
    EXPECT_EQ(header->layer, c.layer);
    EXPECT_EQ(header->bitsPerSecond, c.bitsPerSecond);
    EXPECT_EQ(header->sampleRate, c.sampleRate);
    EXPECT_EQ(header->channels, c.channels);
    EXPECT_EQ(header->frameLength(), c.length) << int(c.bytes[1]) << " " << int(c.bytes[2]);
    EXPECT_EQ(header->samplesPerFrame(), c.samples);
    EXPECT_EQ(header->xingOffset(), c.xingOffset);
  }
}

TEST(MpegFrameHeader, ReservedFieldsAndBrokenSyncAreNoHeader) {
  const std::vector<ByteVector> rejected = {
      {0xFF, 0xFB, 0xF0, 0x00},                      // bit-rate index 15
      {0xFF, 0xFB, 0x0C, 0x00},                      // sampling index 3
      {0xFF, 0xEB, 0x90, 0x00},                      // version 01
      {0xFF, 0xF9, 0x90, 0x00},                      // layer 00
      {0xFF, 0xDB, 0x90, 0x00},                      // ten sync bits
      {0xFE, 0xFB, 0x90, 0x00}, {0xFF, 0xFB, 0x90},  // three bytes
  };
  for (const auto& bytes : rejected) EXPECT_FALSE(parseMpegFrameHeader(bytes)) << int(bytes[1]);
  // The last index of each field that is still allowed.
  EXPECT_TRUE(parseMpegFrameHeader(ByteVector{0xFF, 0xFB, 0xE8, 0x00}));
  EXPECT_TRUE(parseMpegFrameHeader(ByteVector{0xFF, 0xE2, 0x90, 0x00}));
}

class MP3FrameScan : public ::testing::Test {
 protected:
  std::optional<FoundFrame> scan(const ByteVector& contents) {
    EXPECT_TRUE(writeWholeFile(path_, contents));
    auto file = File::open(path_, File::Mode::Read);
    FileBlocks blocks(*file, file->size());
    return findFrameHeader(blocks, 0);
  }
  std::optional<std::int64_t> offsetOf(const ByteVector& contents) {
    const auto found = scan(contents);
    return found ? std::optional(found->offset) : std::nullopt;
  }
  testing::TempDir dir_;
  std::u16string path_ = dir_.file("scan.mp3");
};

TEST_F(MP3FrameScan, TakesAHeaderOnlyWhenTheNextFollowsAtItsLength) {
  const auto pairAt = [](std::size_t junk, std::size_t gap, FrameHeader second) {
    return concat({ByteVector(junk, 0), frameWith(kMpeg1Header, 417 + gap), frameWith(second, 417),
                   ByteVector(100, 0)});
  };
  EXPECT_EQ(offsetOf(pairAt(10, 0, kMpeg1Header)), 10);
  // One byte off either way, or a header of another stream: no frame.
  EXPECT_EQ(offsetOf(pairAt(10, 1, kMpeg1Header)), std::nullopt);
  EXPECT_EQ(offsetOf(concat({ByteVector(10, 0), frameWith(kMpeg1Header, 416),
                             frameWith(kMpeg1Header, 417), ByteVector(100, 0)})),
            std::nullopt);
  EXPECT_EQ(offsetOf(pairAt(10, 0, {0xFF, 0xFB, 0x94, 0x40})), std::nullopt);
  // A sync pair inside the audio data is passed over for the frames behind it.
  auto audio = ByteVector(600, 0x55);
  std::copy(kMpeg1Header.begin(), kMpeg1Header.end(), audio.begin() + 100);
  EXPECT_EQ(offsetOf(concat({audio, pairAt(0, 0, kMpeg1Header)})), 600);
  // MPEG-2 frames are half as long.
  EXPECT_EQ(offsetOf(concat(
                {ByteVector(3, 0), frameWith(kMpeg2Header, 208), frameWith(kMpeg2Header, 208)})),
            3);
  // A free-format header tells no length and is never confirmed.
  EXPECT_EQ(offsetOf(concat({ByteVector(3, 0), frameWith({0xFF, 0xFB, 0x00, 0x40}, 417),
                             frameWith({0xFF, 0xFB, 0x00, 0x40}, 417)})),
            std::nullopt);
}

TEST_F(MP3FrameScan, StreamStartNeedsNoConfirmationButTwentyFiveBytes) {
  EXPECT_EQ(offsetOf(frameWith(kMpeg2Header, 25)), 0);
  // 24 bytes: no header is read at the start, and the scan finds none.
  EXPECT_EQ(offsetOf(frameWith(kMpeg2Header, 24)), std::nullopt);
}

TEST_F(MP3FrameScan, LooksAsFarAsTheLimitAndAcrossBlocks) {
  const auto framesAt = [](std::int64_t at) {
    return concat({ByteVector(static_cast<std::size_t>(at), 0), frameWith(kMpeg1Header, 417),
                   frameWith(kMpeg1Header, 417)});
  };
  for (const std::int64_t at : {std::int64_t{16383}, std::int64_t{16384}, std::int64_t{16385},
                                std::int64_t{32769}, kFrameScanLimit - 1})
    EXPECT_EQ(offsetOf(framesAt(at)), at);
  EXPECT_EQ(offsetOf(framesAt(kFrameScanLimit)), std::nullopt);
}

TEST_F(MP3InfoFile, XingHeaderAtTheOffsetOfEachVersion) {
  struct Case {
    FrameHeader header;
    std::size_t size, offset;
    const char* kind;
    const char16_t* bitrate;
  };
  // 100 frames of 20,800 bytes: 208 bytes a frame.
  const Case cases[] = {
      // MPEG-2 frames hold 576 samples: 208 x 8 x 22050 / 576 = 63,700 bit/s.
      {kMpeg2Header, 208, 13, "Xing", u"63"},
      {{0xFF, 0xF3, 0x80, 0x00}, 208, 21, "Xing", u"63"},
      // MPEG-1 frames hold 1152 samples, at twice the sample rate here.
      {{0xFF, 0xFB, 0x90, 0xC0}, 417, 21, "Xing", u"63"},
      {kMpeg1Header, 417, 36, "Xing", u"63"},
      // At the offset of the other channel count, or as "Info": the header's rate.
      {kMpeg2Header, 208, 21, "Xing", u"64"},
      {kMpeg1Header, 417, 21, "Xing", u"128"},
      {kMpeg2Header, 208, 13, "Info", u"64"},
  };
  for (const auto& c : cases) {
    const auto first = vbrFrame(c.header, c.size, c.offset, c.kind, 100, 20800);
    EXPECT_EQ(read(concat({first, frameWith(c.header, c.size)})).getBitrate(), c.bitrate)
        << int(c.header[3]) << " " << c.offset << " " << c.kind;
  }
}

TEST_F(MP3InfoFile, XingHeaderIsReadInTheFrameTheScanFound) {
  // The first frame sits a few bytes behind the tag end, as taggers that
  // miscount their padding leave it.
  const auto tag = id3v2Tag(3, id3v2Frame(3, "TIT2", textBody(0, bytesOf("t"))));
  const auto& info =
      read(concat({tag, ByteVector(7, 0), vbrFrame(kMpeg2Header, 208, 13, "Xing", 100, 20800),
                   frameWith(kMpeg2Header, 208)}));
  EXPECT_EQ(info.getBitrate(), u"63");
  EXPECT_EQ(info.getSampleRate(), u"22050");
  EXPECT_EQ(info.getStereoMode(), u"1");
}

TEST_F(MP3InfoFile, WarningWhenNeitherTagNorFrameIsFound) {
  struct Case {
    const char* what;
    ByteVector contents;
    const char* warning;
  };
  const auto text = bytesOf("Just some notes, saved with the wrong name.\n");
  const Case cases[] = {
      {"empty", {}, "no MPEG audio frame found"},
      {"text", concat({text, text, text}), "no MPEG audio frame found"},
      {"cut after 24 bytes", frameWith(kMpeg1Header, 24), "no MPEG audio frame found"},
      {"cut after 25 bytes", frameWith(kMpeg1Header, 25), ""},
      {"tag only", id3v1Block({.title = "t"}), ""},
      {"frames only", concat({mpegFrame(9, 0, 0), mpegFrame(9, 0, 0)}), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.contents).getReadWarning(), c.warning) << c.what;
}

TEST_F(MP3InfoFile, PrecedenceFollowsPresence) {
  const auto id3v2 = id3v2Tag(
      3, concat({id3v2Frame(3, "TPE1", textBody(0, bytesOf("v2 artist"))),
                 id3v2Frame(3, "COMM", concat({{0}, bytesOf("eng"), {0}, bytesOf("v2 note")})),
                 id3v2Frame(3, "USLT", concat({{0}, bytesOf("eng"), {0}, bytesOf("v2 words")}))}));
  const auto ape = apeTag({apeItem("Artist", "ape artist"), apeItem("Comment", "ape note"),
                           apeItem("Lyrics", "ape words")});
  const auto v1 = id3v1Block({.title = "v1 title", .artist = "v1 artist", .comment = "v1 note"});
  const auto lyrics3 = testing::lyrics3Block({testing::lyrics3Field("LYR", "l3 words")});
  const auto audio = concat({mpegFrame(9, 0, 1), ByteVector(300, 0)});

  auto& all = read(concat({id3v2, audio, ape, v1}));
  EXPECT_EQ(all.getArtist(), u"v2 artist");
  EXPECT_EQ(all.getTitle(), u"Unknown");
  EXPECT_EQ(linesOf(all.getComment()), u"ape note|");
  EXPECT_EQ(linesOf(all.getLyrics()), u"v2 words|");

  MP3Info apeFirst;
  const auto path = dir_.file("b.mp3");
  writeWholeFile(path, concat({audio, ape, v1}));
  apeFirst.readFile(path);
  EXPECT_EQ(apeFirst.getArtist(), u"ape artist");
  EXPECT_EQ(apeFirst.getGenre(), u"Unknown");
  EXPECT_EQ(linesOf(apeFirst.getLyrics()), u"ape words|");

  MP3Info lyricsOnly;
  writeWholeFile(path, concat({audio, lyrics3}));
  lyricsOnly.readFile(path);
  EXPECT_FALSE(lyricsOnly.hasTag());
  EXPECT_TRUE(lyricsOnly.hasLyrics());
  EXPECT_EQ(lyricsOnly.getPresentTags(), u"L3v2");
  EXPECT_EQ(lyricsOnly.getTitle(), u"Unknown");
  EXPECT_FALSE(lyricsOnly.hasComment());

  // Lyrics3's title, artist and album stand in only where the answering tag
  // has no text.
  const auto extended = testing::lyrics3Block({testing::lyrics3Field("ETT", "l3 title"),
                                               testing::lyrics3Field("EAR", "l3 artist"),
                                               testing::lyrics3Field("EAL", "l3 album")});
  struct StandIn {
    const char* what;
    ByteVector contents;
    std::u16string title, artist, album;
  };
  const StandIn standIns[] = {
      {"no other tag", concat({audio, extended}), u"l3 title", u"l3 artist", u"l3 album"},
      {"ID3v2 with an artist only", concat({id3v2, audio, extended}), u"l3 title", u"v2 artist",
       u"l3 album"},
      {"ID3v1 with empty fields but the title",
       concat({audio, extended, id3v1Block({.title = "v1 title"})}), u"v1 title", u"l3 artist",
       u"l3 album"},
      {"ID3v1 without an album", concat({audio, extended, v1}), u"v1 title", u"v1 artist",
       u"l3 album"},
  };
  for (const StandIn& c : standIns) {
    MP3Info info;
    writeWholeFile(path, c.contents);
    info.readFile(path);
    EXPECT_EQ(info.getTitle(), c.title) << c.what;
    EXPECT_EQ(info.getArtist(), c.artist) << c.what;
    EXPECT_EQ(info.getAlbum(), c.album) << c.what;
  }

  MP3Info v1Only;
  writeWholeFile(path, concat({audio, testing::id3v1Block({.title = "t", .genre = 3})}));
  v1Only.readFile(path);
  EXPECT_FALSE(v1Only.hasComment());
  // An ID3v1 tag gives its buffer even without a comment.
  ASSERT_NE(v1Only.getComment(), nullptr);
  EXPECT_EQ(v1Only.getComment()->lineCount(), 0u);
  EXPECT_EQ(v1Only.getGenre(), u"Dance");
}

TEST_F(MP3InfoFile, TinyFilesReadNoTags) {
  // 100 bytes: too short for ID3v1 and Lyrics3, even with their signatures.
  ByteVector contents(100, 0);
  std::copy_n("TAG", 3, contents.begin());
  std::copy_n("000010LYRICS200", 15, contents.end() - 15);
  EXPECT_EQ(read(contents).getPresentTags(), u"None");
  EXPECT_EQ(read(ByteVector()).getPresentTags(), u"None");
}

TEST(MP3Info, ClassChoiceGivesMP3Files) {
  const auto type = chooseTrackClass(u"song.mp3", false, FileTypeSwitches{});
  ASSERT_TRUE(type);
  auto track = createTrackInfo(*type);
  EXPECT_EQ(track->readFile(fixturePath("tags/id3v1_1.mp3")), ReadResult::Read);
  EXPECT_EQ(track->getArtist(), u"V1 Artist");
}

}  // namespace
}  // namespace tunora
