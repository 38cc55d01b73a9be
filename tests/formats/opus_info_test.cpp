#include "formats/opus_info.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/ogg_page.h"
#include "support/format_bytes.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using OpusFile = TrackFileTest<OpusInfo>;

TEST_F(OpusFile, HeadersTagsTimeAndRate) {
  // 48312 samples less the pre-skip of 312: one second. The audio page is
  // 27 + 4 lacing values + 1000 bytes.
  const ByteVector file =
      oggOpusFile(vorbisCommentBlock("libopus", {"TITLE=t", "ARTIST=a", "DATE=2011-02-03"}), 48312);
  EXPECT_EQ(read(file), ReadResult::Read);
  EXPECT_EQ(info_.getSampleRate(), u"48000");
  EXPECT_EQ(info_.getStereoMode(), u"2");
  EXPECT_EQ(info_.toTrack().stream.milliseconds, 1000u);
  EXPECT_EQ(info_.toTrack().stream.bitsPerSecond, 1031u * 8);
  EXPECT_EQ(info_.getTitle(), u"t");
  EXPECT_EQ(info_.getYear(), u"2011");
  EXPECT_EQ(info_.getPresentTags(), u"Opus-Comments");
  EXPECT_TRUE(info_.hasTag());
}

TEST_F(OpusFile, PlayingTimeAtTheEdgesOfThePreSkip) {
  const struct {
    std::uint64_t granule;
    std::optional<std::uint64_t> milliseconds;
  } cases[] = {
      {312, std::nullopt},
      {313, std::nullopt},  // a 48th of a millisecond rounds to none
      {312 + 24, 1},
      {312 + 48000 * 3600, 3600000},
      // Near 2^64 samples: absurd, but not wrapped round to a short time.
      {0xFFFFFFFFFFFFFFFEu, 384307168202282319u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.granule);
    auto track = readAnother(oggOpusFile(vorbisCommentBlock("v", {}), c.granule), "t");
    EXPECT_EQ(track->toTrack().stream.milliseconds, c.milliseconds);
  }
}

TEST_F(OpusFile, LastGranuleIsTheStreamsOwnAndWhole) {
  const ByteVector head =
      concat({oggPage(opusHead(1, 0), 2), oggPage(opusTags(vorbisCommentBlock("v", {})))});
  const ByteVector audio = oggPage(ByteVector(100, 1), 0, true, 96000);
  const struct {
    const char* name;
    ByteVector tail;
    std::uint64_t milliseconds;
  } cases[] = {
      {"other stream last", oggPage(ByteVector(10, 1), 4, true, 480000, 0x999), 2000},
      {"no granule on the last page", oggPage(ByteVector(255, 1), 0, false, ~0ull), 2000},
      {"last page cut short",
       [] {
         ByteVector page = oggPage(ByteVector(100, 1), 4, true, 480000);
         page.pop_back();
         return page;
       }(),
       2000},
      {"own last page", oggPage(ByteVector(10, 1), 4, true, 144000), 3000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto track = readAnother(concat({head, audio, c.tail}), c.name);
    EXPECT_EQ(track->toTrack().stream.milliseconds, c.milliseconds);
  }
}

TEST_F(OpusFile, CommentHeaderOverTwoPagesWithACover) {
  const std::string filler = "DESCRIPTION=" + std::string(70000, 'f');
  const ByteVector packet =
      opusTags(vorbisCommentBlock("v", {filler, pictureEntry(3, "JPEG"), "TITLE=after"}));
  const std::size_t firstPart = 255 * 255;
  const ByteVector audio = oggPage(ByteVector(500, 1), 4, true, 48312);
  const ByteVector file =
      concat({oggPage(opusHead(1, 312), 2),
              oggPage(ByteVector(packet.begin(), packet.begin() + firstPart), 0, false, ~0ull),
              oggPage(ByteVector(packet.begin() + firstPart, packet.end()), 1), audio});
  EXPECT_EQ(read(file), ReadResult::Read);
  EXPECT_EQ(info_.getTitle(), u"after");
  ASSERT_TRUE(info_.hasCover());
  EXPECT_EQ(*info_.getCoverData(), bytesOf("JPEG"));
  // Only the audio pages count towards the rate.
  EXPECT_EQ(info_.toTrack().stream.bitsPerSecond, audio.size() * 8);
}

TEST_F(OpusFile, IdentificationHeaderChecks) {
  ByteVector majorOne = opusHead(2, 312);
  majorOne[8] = 0x10;
  ByteVector lastMinor = opusHead(2, 312);
  lastMinor[8] = 0x0F;
  ByteVector noChannels = opusHead(2, 312);
  noChannels[9] = 0;
  const ByteVector full = opusHead(2, 312);
  const struct {
    const char* name;
    ByteVector packet;
    bool accepted;
  } cases[] = {
      {"version 1", full, true},
      {"version 15", lastMinor, true},
      {"version 16", majorOne, false},
      {"no channels", noChannels, false},
      {"pre-skip cut", ByteVector(full.begin(), full.begin() + 11), false},
      {"pre-skip whole", ByteVector(full.begin(), full.begin() + 12), true},
      {"Vorbis", vorbisIdentification(128000, 44100, 2), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parseOpusHead(c.packet).has_value(), c.accepted);
  }
}

TEST_F(OpusFile, NoCommentHeaderStillGivesTheStream) {
  const ByteVector file =
      concat({oggPage(opusHead(1, 312), 2), oggPage(ByteVector(200, 1), 4, true, 24312)});
  EXPECT_EQ(read(file), ReadResult::Read);
  EXPECT_EQ(info_.toTrack().stream.milliseconds, 500u);
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getPresentTags(), u"None");
}

TEST_F(OpusFile, VorbisFileIsNotRecognised) {
  EXPECT_EQ(read(oggVorbisFile(vorbisCommentBlock("v", {"TITLE=t"}))), ReadResult::NotRecognised);
  EXPECT_EQ(info_.getSampleRate(), u"Unknown");
  EXPECT_EQ(info_.getTitle(), u"Unknown");
}

}  // namespace
}  // namespace tunora
