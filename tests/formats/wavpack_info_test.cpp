#include "formats/wavpack_info.h"

#include <gtest/gtest.h>

#include <string>

#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using WavPackFile = TrackFileTest<WavPackInfo>;

TEST(WavPackRealFiles, StreamValuesAgreeWithFfprobe) {
  // ffprobe counts the whole file, tag included (9776 bit/s for the tagged
  // one); the bit rate here is that of the 330 bytes of audio.
  const struct {
    const char* fixture;
    const char16_t* channels;
    const char16_t* sampleRate;
    std::uint64_t milliseconds;
    const char16_t* bitrate;
  } cases[] = {
      {"formats/wavpack_apev2_cover.wv", u"2", u"44100", 1000, u"2"},
      {"formats/wavpack_custom_rate_37800.wv", u"1", u"37800", 500, u"1"},
      {"formats/wavpack_six_channels.wv", u"6", u"48000", 250, u"12"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    WavPackInfo info;
    EXPECT_EQ(info.readFile(fixturePath(c.fixture)), ReadResult::Read);
    EXPECT_EQ(info.getStereoMode(), c.channels);
    EXPECT_EQ(info.getSampleRate(), c.sampleRate);
    EXPECT_EQ(info.toTrack().stream.milliseconds, c.milliseconds);
    EXPECT_EQ(info.getBitrate(), c.bitrate);
  }
}

TEST(WavPackRealFiles, ApeTagAndFrontCoverAsMutagenWroteThem) {
  WavPackInfo info;
  ASSERT_EQ(info.readFile(fixturePath("formats/wavpack_apev2_cover.wv")), ReadResult::Read);
  EXPECT_EQ(info.getPresentTags(), u"APEv2");
  EXPECT_EQ(info.getArtist(), u"Tunora Ensemble");
  EXPECT_EQ(info.getTitle(), u"Caf\u00e9 Noir");
  EXPECT_EQ(info.getAlbum(), u"Fixtures");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getTrackNumber(), u"7/12");
  EXPECT_EQ(info.getGenre(), u"Ambient");
  ASSERT_NE(info.getComment(), nullptr);
  EXPECT_EQ(info.getComment()->line(0), u"made by wavpack");
  // mutagen: 639 bytes with the 10 of "cover.jpg" and its NUL.
  EXPECT_EQ(info.getCoverSize(), 629u);
}

// The 32-byte block header with the given flags and total, then metadata.
ByteVector block(std::uint32_t flags, std::uint32_t totalLow = 44100, std::uint8_t totalHigh = 0,
                 const ByteVector& metadata = {}) {
  const auto size = static_cast<std::uint32_t>(24 + metadata.size());
  return concat({bytesOf("wvpk"),
                 le32(size),
                 {0x10, 0x04, 0, totalHigh},
                 le32(totalLow),
                 le32(0),
                 le32(4096),
                 le32(flags),
                 le32(0),
                 metadata});
}

constexpr std::uint32_t kStereo44100 = 9u << 23;
constexpr std::uint32_t kCustomRate = 15u << 23;

TEST(WavPackBlock, HeaderAndMetadataFields) {
  const struct {
    const char* name;
    ByteVector bytes;
    std::uint32_t sampleRate;
    std::uint32_t channels;
    std::optional<std::uint64_t> totalSamples;
  } cases[] = {
      {"44100 stereo", block(kStereo44100), 44100, 2, 44100},
      {"last table rate, mono", block(14u << 23 | 4), 192000, 1, 44100},
      {"first table rate", block(0), 6000, 2, 44100},
      {"custom rate without metadata", block(kCustomRate), 0, 2, 44100},
      {"custom rate from metadata", block(kCustomRate, 1, 0, {0x27, 2, 0xA8, 0x93, 0, 0}), 37800, 2,
       1},
      {"odd-sized channel info", block(kStereo44100, 1, 0, {0x4D, 1, 6}), 44100, 6, 1},
      {"large channel info after odd rate",
       block(kCustomRate, 1, 0, {0x67, 2, 0x40, 0x1F, 0, 0, 0x8D, 1, 0, 0, 4, 0}), 8000, 4, 1},
      {"six-byte channel info ignored", block(kStereo44100, 1, 0, {0x0D, 3, 9, 0, 0, 0, 0, 0}),
       44100, 2, 1},
      {"metadata after the audio ignored", block(kStereo44100, 1, 0, {0x0A, 0, 0x0D, 1, 6, 0}),
       44100, 2, 1},
      {"unknown total", block(kStereo44100, 0xFFFFFFFF, 3), 44100, 2, std::nullopt},
      {"40-bit total", block(kStereo44100, 0, 1), 44100, 2, 0xFFFFFFFFull},
      {"largest 40-bit total", block(kStereo44100, 0xFFFFFFFE, 0xFF), 44100, 2, 0xFFFFFFFEFFull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto stream = parseWavPackBlock(c.bytes);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->sampleRate, c.sampleRate);
    EXPECT_EQ(stream->channels, c.channels);
    EXPECT_EQ(stream->totalSamples, c.totalSamples);
  }
}

TEST(WavPackBlock, MetadataStaysInsideItsBlockAndTheBytesRead) {
  // The block size says the metadata ends before the rate: it is not read.
  ByteVector bytes = block(kCustomRate, 1, 0, {0x27, 2, 0xA8, 0x93, 0, 0});
  bytes[4] = 24;
  EXPECT_EQ(parseWavPackBlock(bytes)->sampleRate, 0u);
  // A sub-block whose length runs past the bytes is dropped.
  const ByteVector cut = block(kCustomRate, 1, 0, {0x27, 3, 0xA8, 0x93, 0, 0});
  EXPECT_EQ(parseWavPackBlock(cut)->sampleRate, 0u);
}

TEST(WavPackBlock, HeaderMustBeWhole) {
  const ByteVector whole = block(kStereo44100);
  EXPECT_TRUE(parseWavPackBlock(Bytes(whole).first(32)));
  EXPECT_FALSE(parseWavPackBlock(Bytes(whole).first(31)));
  EXPECT_FALSE(parseWavPackBlock(concat({bytesOf("wvpK"), ByteVector(28, 0)})));
}

TEST_F(WavPackFile, ID3v1TagWhenNoApeTag) {
  ID3v1Fields fields;
  fields.title = "Old Tag";
  EXPECT_EQ(read(concat({block(kStereo44100 | 4), ByteVector(200, 0x55), id3v1Block(fields)})),
            ReadResult::Read);
  EXPECT_EQ(info_.getPresentTags(), u"ID3v1");
  EXPECT_EQ(info_.getTitle(), u"Old Tag");
  EXPECT_EQ(info_.getStereoMode(), u"1");
  // The 232 bytes of audio over one second, the tag not counted.
  EXPECT_EQ(info_.toTrack().stream.bitsPerSecond, 1856u);
}

TEST_F(WavPackFile, ForeignAndEmptyFilesWarn) {
  for (const auto& bytes : {ByteVector{}, bytesOf("no wavpack here, only text of some length")}) {
    auto info = readAnother(bytes, "other.wv");
    EXPECT_EQ(lastResult_, ReadResult::Read);
    EXPECT_EQ(info->getSampleRate(), u"Unknown");
    EXPECT_EQ(info->getReadWarning(), "no WavPack block header found");
  }
}

}  // namespace
}  // namespace tunora
