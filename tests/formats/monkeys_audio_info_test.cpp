#include "formats/monkeys_audio_info.h"

#include <gtest/gtest.h>

#include <string>

#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using MonkeysAudioFile = TrackFileTest<MonkeysAudioInfo>;

ByteVector le16(std::uint16_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
}

TEST(MonkeysAudioRealFiles, HeadersAgreeWithFfprobeAndMutagen) {
  // No encoder is packaged: the files hold hand-written headers of both
  // layouts; ffprobe and mutagen give these durations, rates and channels.
  const struct {
    const char* fixture;
    const char16_t* channels;
    const char16_t* sampleRate;
    std::uint64_t milliseconds;
    std::uint64_t bitsPerSecond;
    const char16_t* tags;
  } cases[] = {
      {"formats/monkeys_audio_3990_apev2.ape", u"2", u"44100", 1000, 2688, u"APEv2"},
      {"formats/monkeys_audio_3970_mono.ape", u"1", u"22050", 13420, 176, u"None"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    MonkeysAudioInfo info;
    EXPECT_EQ(info.readFile(fixturePath(c.fixture)), ReadResult::Read);
    EXPECT_EQ(info.getStereoMode(), c.channels);
    EXPECT_EQ(info.getSampleRate(), c.sampleRate);
    EXPECT_EQ(info.toTrack().stream.milliseconds, c.milliseconds);
    EXPECT_EQ(info.toTrack().stream.bitsPerSecond, c.bitsPerSecond);
    EXPECT_EQ(info.getPresentTags(), c.tags);
  }
  MonkeysAudioInfo tagged;
  tagged.readFile(fixturePath("formats/monkeys_audio_3990_apev2.ape"));
  EXPECT_EQ(tagged.getTitle(), u"Ape Fixture");
  EXPECT_EQ(tagged.getYear(), u"1999");
  EXPECT_EQ(tagged.getTrackNumber(), u"2");
}

// The single header of the versions before 3.98: two frames, 1000 blocks
// in the last.
ByteVector olderHeader(std::uint16_t version, std::uint16_t level) {
  return concat({bytesOf("MAC "), le16(version), le16(level), le16(0), le16(2), le32(44100),
                 le32(0), le32(0), le32(2), le32(1000)});
}

// Descriptor of `descriptorSize` bytes, then the header: three frames of
// 1000 blocks and 10 in the last.
ByteVector currentHeader(std::uint16_t version, std::uint32_t descriptorSize = 52) {
  ByteVector descriptor = concat({bytesOf("MAC "), le16(version), le16(0), le32(descriptorSize)});
  descriptor.resize(descriptorSize, 0);
  return concat({descriptor, le16(2000), le16(0), le32(1000), le32(10), le32(3), le16(16), le16(2),
                 le32(48000)});
}

TEST(MonkeysAudioHeader, BlocksPerFrameByVersionAndLevel) {
  const struct {
    ByteVector bytes;
    std::uint64_t totalSamples;
  } cases[] = {
      {olderHeader(3799, 4000), 9216 + 1000},
      {olderHeader(3800, 4000), 73728 + 1000},
      {olderHeader(3800, 3000), 9216 + 1000},
      {olderHeader(3899, 2000), 9216 + 1000},
      {olderHeader(3900, 2000), 73728 + 1000},
      {olderHeader(3949, 2000), 73728 + 1000},
      {olderHeader(3950, 2000), 294912 + 1000},
      {olderHeader(3979, 2000), 294912 + 1000},
      {currentHeader(3980), 2010},
      {currentHeader(3990, 60), 2010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.totalSamples);
    const auto stream = parseMonkeysAudioHeader(c.bytes);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->totalSamples, c.totalSamples);
  }
  EXPECT_EQ(parseMonkeysAudioHeader(currentHeader(3990))->sampleRate, 48000u);
  EXPECT_EQ(parseMonkeysAudioHeader(olderHeader(3970, 2000))->channels, 2u);
}

TEST(MonkeysAudioHeader, CutHeadersAndForeignBytesGiveNothing) {
  const ByteVector older = olderHeader(3970, 2000);
  const ByteVector current = currentHeader(3990);
  EXPECT_TRUE(parseMonkeysAudioHeader(Bytes(older).first(32)));
  EXPECT_FALSE(parseMonkeysAudioHeader(Bytes(older).first(31)));
  EXPECT_TRUE(parseMonkeysAudioHeader(Bytes(current).first(76)));
  EXPECT_FALSE(parseMonkeysAudioHeader(Bytes(current).first(75)));
  ByteVector farDescriptor = current;
  farDescriptor[11] = 0xFF;  // its size past the bytes
  EXPECT_FALSE(parseMonkeysAudioHeader(farDescriptor));
  EXPECT_FALSE(parseMonkeysAudioHeader(bytesOf("MAC")));
  EXPECT_FALSE(parseMonkeysAudioHeader(bytesOf("MACK\xA6\x0F and so on")));
}

TEST_F(MonkeysAudioFile, NoFramesNoDurationAndID3v2InFront) {
  ByteVector header = currentHeader(3990);
  header[64] = 0;  // total frames
  EXPECT_EQ(read(concat({id3v2Tag(3, id3v2Frame(3, "TIT2", textBody(0, bytesOf("x")))), header})),
            ReadResult::Read);
  EXPECT_EQ(info_.getSampleRate(), u"48000");
  EXPECT_EQ(info_.toTrack().stream.milliseconds, std::nullopt);
  EXPECT_EQ(info_.getBitrate(), u"Unknown");
}

TEST_F(MonkeysAudioFile, ForeignFileWarns) {
  read(bytesOf("this is no monkey's audio file, but text of some length"));
  EXPECT_EQ(info_.getReadWarning(), "no Monkey's Audio header found");
}

}  // namespace
}  // namespace tunora
