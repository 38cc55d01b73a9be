#include "trackinfo/track_info.h"

#include <gtest/gtest.h>

#include "io/file.h"
#include "support/temp_dir.h"
#include "trackinfo/track_info.h"

namespace tunora {
namespace {

TEST(TrackInfoDefaults, UnreadTrackAnswersDefaults) {
  TrackInfo track;
  EXPECT_EQ(track.readFile(u"whatever.mp3"), ReadResult::NotRecognised);
  for (const auto& text : {track.getTitle(), track.getYear(), track.getAlbum(), track.getArtist(),
                           track.getTrackNumber(), track.getGenre(), track.getSampleRate(),
                           track.getStereoMode(), track.getBitrate(), track.getFileName()})
    EXPECT_EQ(text, u"Unknown");
  EXPECT_EQ(track.getPresentTags(), u"None");
  EXPECT_FALSE(track.hasComment() || track.hasCover() || track.hasLyrics() || track.hasTag());
  EXPECT_EQ(track.getComment(), nullptr);
  EXPECT_EQ(track.getLyrics(), nullptr);
  EXPECT_EQ(track.getCoverData(), nullptr);
}

TEST(TrackInfoSetters, NumbersBecomeTexts) {
  TrackInfo track;
  track.setBitsPerSecond(1023);
  EXPECT_EQ(track.getBitrate(), u"0");
  track.setBitsPerSecond(1024);
  EXPECT_EQ(track.getBitrate(), u"1");
  track.setBitsPerSecond(128 * 1024);
  EXPECT_EQ(track.getBitrate(), u"128");
  track.setBitsPerSecond(0xFFFFFFFF);
  EXPECT_EQ(track.getBitrate(), u"4194303");
  track.setBitsPerSecond(0);
  EXPECT_EQ(track.getBitrate(), u"Unknown");

  track.setSampleRate(44100);
  EXPECT_EQ(track.getSampleRate(), u"44100");
  track.setSampleRate(0);
  EXPECT_EQ(track.getSampleRate(), u"Unknown");
  track.setChannels(1);
  EXPECT_EQ(track.getStereoMode(), u"1");
  track.setChannels(2);
  EXPECT_EQ(track.getStereoMode(), u"2");
  track.setChannels(0);
  EXPECT_EQ(track.getStereoMode(), u"Unknown");
}

TEST(TrackInfoSetters, BitRateTextStopsAtWhat32BitsOfBitsPerSecondGave) {
  TrackInfo track;
  track.setBitsPerSecond(std::uint64_t{1} << 40);
  EXPECT_EQ(track.getBitrate(), u"4194303");
  track.setKilobitsPerSecond(1);
  EXPECT_EQ(track.getBitrate(), u"1");
  track.setKilobitsPerSecond(4194303);
  EXPECT_EQ(track.getBitrate(), u"4194303");
  track.setKilobitsPerSecond(4194304);
  EXPECT_EQ(track.getBitrate(), u"4194303");
  track.setKilobitsPerSecond(0);
  EXPECT_EQ(track.getBitrate(), u"Unknown");
}

// A reader that found a comment and a cover, as the format classes fill them.
class FilledTrack : public TrackInfo {
 public:
  ReadResult readFile(const std::u16string& path) override {
    track_.fileName = path;
    TextLines comment;
    comment.appendLine(u"nice");
    takeComment(std::move(comment));
    takeCover(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF});
    return ReadResult::Read;
  }
};

TEST(ReadTrackInfo, ReportsWhatTheReaderFilled) {
  FilledTrack track;
  EXPECT_EQ(track.getFileName(), u"Unknown");
  track.readFile(u"a.mp3");
  EXPECT_EQ(track.getFileName(), u"a.mp3");
  ASSERT_NE(track.getComment(), nullptr);
  EXPECT_EQ(*track.getComment()->line(0), u"nice");
  EXPECT_EQ(track.getLyrics(), nullptr);
  EXPECT_TRUE(track.hasCover());
  ASSERT_NE(track.getCoverData(), nullptr);
  EXPECT_EQ(track.getCoverData()->size(), 3u);
}

// A listing that asks only for the size gets it, and no bytes to write.
TEST(ReadTrackInfo, ACoverReadForItsSizeOnlyHasNoBytes) {
  FilledTrack track;
  track.setCoverBytes(CoverBytes::SizeOnly);
  track.readFile(u"a.mp3");
  EXPECT_TRUE(track.hasCover());
  EXPECT_EQ(track.getCoverSize(), 3u);
  EXPECT_EQ(track.getCoverData(), nullptr);
}

}  // namespace
}  // namespace tunora
