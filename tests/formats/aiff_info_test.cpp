#include "formats/aiff_info.h"

#include <gtest/gtest.h>

#include <string>

#include "support/format_bytes.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using AiffFile = TrackFileTest<AIFFInfo>;

TEST(ExtendedSampleRate, WholeHertzOrNothing) {
  const ByteVector half = concat({be16(16382), be64(0x8000000000000000u)});
  const ByteVector negative = concat({be16(0x8000 | 16398), be64(0xAC44000000000000u)});
  // 22050.5 Hz: whole hertz only.
  const ByteVector fraction = concat({be16(16383 + 14), be64(0xAC44800000000000u)});
  const struct {
    const char* name;
    ByteVector bytes;
    std::optional<std::uint32_t> hertz;
  } cases[] = {
      {"44100", extended(44100), 44100},
      {"8000", extended(8000), 8000},
      {"1 Hz", extended(1), 1},
      {"2^31", extended(0x80000000u), 0x80000000u},
      {"2^32", concat({be16(16383 + 32), be64(0x8000000000000000u)}), std::nullopt},
      {"half a hertz", half, std::nullopt},
      {"negative", negative, std::nullopt},
      {"zero", ByteVector(10, 0), std::nullopt},
      {"fraction", fraction, 22050},
      {"nine bytes", ByteVector(9, 0x40), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(extendedToHertz(c.bytes), c.hertz);
  }
}

TEST_F(AiffFile, StreamValuesByCompression) {
  const ByteVector sound = iffChunk("SSND", concat({be32(0), be32(0), ByteVector(2000)}));
  const struct {
    const char* name;
    ByteVector file;
    const char16_t* bitrate;
    std::optional<std::uint64_t> milliseconds;
  } cases[] = {
      {"aiff", aiffFile("AIFF", {iffChunk("COMM", aiffCommon(2, 44100, 16, 44100)), sound}),
       u"1411", 1000},
      // To the nearest millisecond: 44078 frames are 999.501 ms, 44077 are 999.478.
      {"aiff 44078 frames",
       aiffFile("AIFF", {iffChunk("COMM", aiffCommon(2, 44078, 16, 44100)), sound}), u"1411", 1000},
      {"aiff 44077 frames",
       aiffFile("AIFF", {iffChunk("COMM", aiffCommon(2, 44077, 16, 44100)), sound}), u"1411", 999},
      {"aifc sowt",
       aiffFile("AIFC", {iffChunk("COMM", concat({aiffCommon(1, 8000, 16, 8000), bytesOf("sowt"),
                                                  ByteVector{0, 0}})),
                         sound}),
       u"128", 1000},
      // Compressed samples: the sound data over the time.
      {"aifc ima4",
       aiffFile("AIFC", {iffChunk("COMM", concat({aiffCommon(1, 8000, 16, 8000), bytesOf("ima4"),
                                                  ByteVector{0, 0}})),
                         sound}),
       u"16", 1000},
      {"no rate", aiffFile("AIFF", {iffChunk("COMM", aiffCommon(1, 8000, 16, 0)), sound}),
       u"Unknown", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto track = readAnother(c.file, c.name);
    EXPECT_EQ(lastResult_, ReadResult::Read);
    EXPECT_EQ(track->getBitrate(), c.bitrate);
    EXPECT_EQ(track->toTrack().stream.milliseconds, c.milliseconds);
  }
}

TEST_F(AiffFile, TextChunksAndId3v2FieldByField) {
  const ByteVector id3 = id3v2Tag(4, id3v2Frame(4, "TIT2", textBody(3, bytesOf("Id3 Title"))));
  const ByteVector file =
      aiffFile("AIFF", {iffChunk("NAME", bytesOf("Name")), iffChunk("AUTH", bytesOf("Odd")),
                        iffChunk("ANNO", bytesOf("first ")), iffChunk("ANNO", bytesOf("second")),
                        iffChunk("COMM", aiffCommon(1, 8000, 8, 8000)), iffChunk("ID3 ", id3)});
  EXPECT_EQ(read(file), ReadResult::Read);
  EXPECT_EQ(info_.getTitle(), u"Id3 Title");
  EXPECT_EQ(info_.getArtist(), u"Odd");
  ASSERT_TRUE(info_.hasComment());
  EXPECT_EQ(*info_.getComment()->line(0), u"first second");
  EXPECT_EQ(info_.getPresentTags(), u"AIFF-Text,ID3v2");
  EXPECT_EQ(info_.getStereoMode(), u"1");
}

TEST_F(AiffFile, OtherFilesAreNotRecognised) {
  const ByteVector common = iffChunk("COMM", aiffCommon(1, 8000, 8, 8000));
  const struct {
    const char* name;
    ByteVector file;
  } cases[] = {
      {"8SVX", aiffFile("8SVX", {common})},
      {"RIFF", concat({bytesOf("RIFF"), le32(30), bytesOf("AIFF"), common})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto track = readAnother(c.file, c.name);
    EXPECT_EQ(lastResult_, ReadResult::NotRecognised);
    EXPECT_EQ(track->getSampleRate(), u"Unknown");
  }
}

TEST_F(AiffFile, ShortCommonChunkGivesNothing) {
  // Seventeen bytes: the rate's last byte is missing.
  const ByteVector common = aiffCommon(1, 8000, 8, 8000);
  const ByteVector cut(common.begin(), common.end() - 1);
  EXPECT_EQ(read(aiffFile("AIFF", {iffChunk("COMM", cut)})), ReadResult::Read);
  EXPECT_EQ(info_.getSampleRate(), u"Unknown");
  EXPECT_EQ(info_.getReadWarning(), "no COMM chunk found");
}

}  // namespace
}  // namespace tunora
