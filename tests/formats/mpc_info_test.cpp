#include "formats/mpc_info.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/mpc_stream_header.h"
#include "io/file.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using MPCFile = TrackFileTest<MPCInfo>;

// Stream header and some audio bytes.
ByteVector stream(std::uint8_t version, std::uint32_t frames, std::uint8_t rateIndex = 0) {
  return concat({musepackHeader(version, frames, rateIndex), ByteVector(400, 0x11)});
}

TEST(MPCRealFiles, MpcencFileWithApeTag) {
  MPCInfo info;
  EXPECT_EQ(info.readFile(fixturePath("formats/mpcenc_apev2.mpc")), ReadResult::Read);
  EXPECT_TRUE(info.hasTag());
  EXPECT_EQ(info.getPresentTags(), u"APEv2");
  EXPECT_EQ(info.getArtist(), u"Tunora Ensemble");
  EXPECT_EQ(info.getTitle(), u"Mpc Fixture");
  EXPECT_EQ(info.getAlbum(), u"Fixtures");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getTrackNumber(), u"5");
  // Current encoders write version 8 streams ("MPCK"), whose header this
  // reader does not take.
  EXPECT_EQ(info.getSampleRate(), u"Unknown");
  EXPECT_FALSE(info.hasCover());
  EXPECT_EQ(info.saveCover(u"unused"), 0);
}

TEST(MPCRealFiles, ApeFrontCoverIsTheCover) {
  for (const auto wanted : {CoverBytes::Kept, CoverBytes::SizeOnly}) {
    MPCInfo info;
    info.setCoverBytes(wanted);
    EXPECT_EQ(info.readFile(fixturePath("formats/apev2_front_cover.mpc")), ReadResult::Read);
    EXPECT_EQ(info.getTitle(), u"Mpc Fixture");
    ASSERT_TRUE(info.hasCover());
    // mutagen-inspect: 235 bytes, of which "cover.jpg" and its NUL are the name.
    EXPECT_EQ(info.getCoverSize(), 225u);
    const auto* cover = info.getCoverData();
    EXPECT_EQ(cover != nullptr, wanted == CoverBytes::Kept);
    if (!cover) continue;
    EXPECT_EQ((*cover)[0], 0xFF);
    EXPECT_EQ((*cover)[1], 0xD8);
    testing::TempDir dir;
    EXPECT_EQ(info.saveCover(dir.file("cover.jpg")), 1);
  }
}

TEST(MusepackHeader, VersionSevenSampleRatesAndFrameCount) {
  const std::uint32_t rates[] = {44100, 48000, 37800, 32000};
  for (std::uint8_t index = 0; index < 4; ++index) {
    const auto parsed = parseMusepackHeader(musepackHeader(7, 9000, index | 0xFC));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sampleRate, rates[index]);
    EXPECT_EQ(parsed->channels, 2u);
    EXPECT_EQ(parsed->frames, 9000u);
  }
  // SV7.1 keeps its minor version in the high four bits.
  EXPECT_EQ(parseMusepackHeader(musepackHeader(0x17, 1, 1))->sampleRate, 48000u);
  EXPECT_FALSE(parseMusepackHeader(bytesOf("MPCK")));
  ByteVector shortHeader = musepackHeader(7, 1);
  shortHeader.pop_back();
  EXPECT_FALSE(parseMusepackHeader(shortHeader));
}

TEST(MusepackHeader, OtherVersions) {
  const auto eight = parseMusepackHeader(musepackHeader(8, 9000, 1));
  EXPECT_EQ(eight->frames, 0u);
  EXPECT_EQ(eight->sampleRate, 44100u);
  EXPECT_FALSE(eight->channels);
  EXPECT_EQ(musepackKilobits(*eight, 5000000), 0u);
  // Below version 5 the frame count has 16 bits.
  EXPECT_EQ(parseMusepackHeader(musepackHeader(4, 0x12345))->frames, 0x2345u);
  const auto six = parseMusepackHeader(musepackHeader(6, 0x12345, 1));
  EXPECT_EQ(six->frames, 0x12345u);
  EXPECT_EQ(six->sampleRate, 44100u);
  EXPECT_EQ(six->channels, 2u);
}

TEST(MusepackHeader, KilobitsInDoublePrecision) {
  // 5,000,000 bytes, 44100 Hz, 9000 frames (10,367,424 samples): 170 kbit/s.
  EXPECT_EQ(musepackKilobits(*parseMusepackHeader(musepackHeader(7, 9000)), 5000000), 170u);
  // One frame in a huge file saturates instead of wrapping.
  EXPECT_EQ(musepackKilobits(*parseMusepackHeader(musepackHeader(7, 1)), 1ull << 40),
            0xFFFFFFFFu / 1024);
}

TEST_F(MPCFile, StreamValuesAfterAnId3v2Tag) {
  ByteVector bytes = concat({id3v2Tag(3, {}, 100), stream(7, 9000, 2)});
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getSampleRate(), u"37800");
  EXPECT_EQ(info_.getStereoMode(), u"2");
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getPresentTags(), u"None");

  // A version 2.2 tag is stepped over alike; version 5 is no tag.
  for (const std::uint8_t version : {2, 5}) {
    MPCInfo other;
    const std::u16string path = dir_.file("other.mpc");
    ByteVector changed = bytes;
    changed[3] = version;
    ASSERT_TRUE(writeWholeFile(path, changed));
    EXPECT_EQ(other.readFile(path), ReadResult::Read);
    EXPECT_EQ(other.getSampleRate(), version == 2 ? u"37800" : u"Unknown");
  }
}

TEST_F(MPCFile, BitRateOverTheAudioBytes) {
  ByteVector bytes = stream(7, 9000);
  bytes.resize(5000000, 0);
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"170");
  const auto eight = readAnother(stream(8, 9000), "sv8.mpc");
  EXPECT_EQ(eight->getBitrate(), u"Unknown");
  EXPECT_EQ(eight->getStereoMode(), u"Unknown");
  EXPECT_EQ(eight->getSampleRate(), u"44100");
}

TEST_F(MPCFile, ApeAnswersBeforeId3v1AndBothAreListed) {
  ID3v1Fields fields;
  fields.title = "v1 title";
  fields.comment = "v1 comment";
  fields.track = 4;
  fields.genre = 17;
  const ByteVector ape = apeTag({apeItem("Title", "ape title"), apeItem("Lyrics", "la la")});
  EXPECT_EQ(read(concat({stream(7, 100), ape, id3v1Block(fields)})), ReadResult::Read);
  EXPECT_EQ(info_.getPresentTags(), u"ID3v1,APEv2");
  EXPECT_EQ(info_.getTitle(), u"ape title");
  EXPECT_EQ(info_.getArtist(), u"Unknown");
  // The APEv2 tag has no comment, so the ID3v1 comment answers.
  EXPECT_TRUE(info_.hasComment());
  EXPECT_EQ(std::u16string(*info_.getComment()->line(0)).substr(0, 10), u"v1 comment");
  ASSERT_TRUE(info_.hasLyrics());
  EXPECT_EQ(*info_.getLyrics()->line(0), u"la la");
}

TEST_F(MPCFile, Id3v1AloneOrApeAtTheVeryEnd) {
  ID3v1Fields fields;
  fields.title = "only v1";
  fields.year = "1998";
  fields.track = 9;
  fields.genre = 17;
  EXPECT_EQ(read(concat({stream(7, 100), id3v1Block(fields)})), ReadResult::Read);
  EXPECT_EQ(info_.getPresentTags(), u"ID3v1");
  EXPECT_EQ(info_.getTitle(), u"only v1");
  EXPECT_EQ(info_.getYear(), u"1998");
  EXPECT_EQ(info_.getGenre(), u"Rock");
  EXPECT_EQ(info_.getTrackNumber(), u"9");
  EXPECT_FALSE(info_.hasLyrics());
  EXPECT_EQ(info_.getLyrics(), nullptr);

  const auto apeOnly = readAnother(
      concat({stream(7, 100), apeTag({apeItem("Artist", "A"), apeItem("Year", "2003-11-02")})}),
      "ape.mpc");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_EQ(apeOnly->getPresentTags(), u"APEv2");
  EXPECT_EQ(apeOnly->getArtist(), u"A");
  EXPECT_EQ(apeOnly->getYear(), u"2003");
  EXPECT_FALSE(apeOnly->hasComment());
  EXPECT_EQ(apeOnly->getComment(), nullptr);
}

TEST_F(MPCFile, UnopenableOrForeignFile) {
  EXPECT_EQ(info_.readFile(dir_.file("missing.mpc")), ReadResult::NotOpened);
  EXPECT_EQ(info_.getTitle(), u"Unknown");
  const auto foreign =
      readAnother(bytesOf("this is no musepack file, but text of some length"), "foreign.mpc");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_FALSE(foreign->hasTag());
  EXPECT_EQ(foreign->getBitrate(), u"Unknown");
}

}  // namespace
}  // namespace tunora
