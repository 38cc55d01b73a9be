#include "tracks/host_track_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_player.h"

namespace tunora {
namespace {

std::vector<std::u16string> linesOf(const TextLines& lines) {
  std::vector<std::u16string> result;
  for (std::size_t i = 0; i < lines.lineCount(); ++i) result.emplace_back(*lines.line(i));
  return result;
}

class HostTrackInfoTest : public ::testing::Test {
 protected:
  testing::FakePlayer player;
  HostTrackInfo track{player};
};

TEST_F(HostTrackInfoTest, StreamPropertiesAreEmptyUntilReadAndThenThePlayersFigures) {
  EXPECT_EQ(track.getSampleRate(), u"");
  EXPECT_EQ(track.getBitrate(), u"");
  EXPECT_EQ(track.getStereoMode(), u"");
  EXPECT_EQ(track.getFileName(), u"Unknown");

  player.sampleRateKHz = 44;
  player.bitrateKbps = 128;
  player.channels = 2;
  EXPECT_EQ(track.readFile(u"c:\\music\\a.wma"), ReadResult::Read);
  EXPECT_EQ(track.getSampleRate(), u"44000");
  EXPECT_EQ(track.getBitrate(), u"128");
  EXPECT_EQ(track.getStereoMode(), u"2");
  EXPECT_EQ(track.getFileName(), u"c:\\music\\a.wma");

  HostTrackInfo unknown(player);
  player.sampleRateKHz = player.bitrateKbps = player.channels = 0;
  unknown.readFile(u"b.wma");
  EXPECT_EQ(unknown.getSampleRate(), u"Unknown");
  EXPECT_EQ(unknown.getBitrate(), u"Unknown");
  EXPECT_EQ(unknown.getStereoMode(), u"Unknown");
}

TEST_F(HostTrackInfoTest, KeysAreAskedInOrderOfTheFileAndMissingAnswersAreUnknown) {
  player.info = {{"Title", u"Song"}, {"Artist", u""}, {"Track", u"03/12"}};
  track.readFile(u"c:\\music\\a.wma");
  const std::vector<std::string> keys{"Title", "Artist", "Album",   "Year",
                                      "Genre", "Track",  "Comment", "Lyrics"};
  ASSERT_EQ(player.asked.size(), keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(player.asked[i].first, u"c:\\music\\a.wma");
    EXPECT_EQ(player.asked[i].second, keys[i]);
  }
  EXPECT_EQ(track.getTitle(), u"Song");
  EXPECT_EQ(track.getArtist(), u"Unknown");  // an empty answer
  EXPECT_EQ(track.getAlbum(), u"Unknown");   // no answer
  EXPECT_EQ(track.getTrackNumber(), u"03/12");
  EXPECT_FALSE(track.hasComment());
  EXPECT_EQ(track.getComment(), nullptr);
  EXPECT_FALSE(track.hasLyrics());
  // The player tells no tag kinds and no cover.
  EXPECT_FALSE(track.hasTag());
  EXPECT_FALSE(track.hasCover());
  EXPECT_EQ(track.getPresentTags(), u"None");
}

TEST_F(HostTrackInfoTest, CommentAndLyricsUnlessThePlayerSaysUnknown) {
  player.info = {{"Comment", u"UNKNOWN"}, {"Lyrics", u"first line\nsecond line"}};
  track.readFile(u"a.wma");
  EXPECT_FALSE(track.hasComment());
  EXPECT_EQ(track.getComment(), nullptr);
  ASSERT_TRUE(track.hasLyrics());
  ASSERT_NE(track.getLyrics(), nullptr);
  EXPECT_EQ(linesOf(*track.getLyrics()),
            (std::vector<std::u16string>{u"first line", u"second line"}));

  HostTrackInfo second(player);
  player.info = {{"Comment", u"one\ntwo"}, {"Lyrics", u"unknown"}};
  second.readFile(u"b.wma");
  ASSERT_NE(second.getComment(), nullptr);
  EXPECT_EQ(linesOf(*second.getComment()), (std::vector<std::u16string>{u"one", u"two"}));
  EXPECT_EQ(second.getLyrics(), nullptr);
}

TEST_F(HostTrackInfoTest, YearAndGenreAreReducedOnEveryCall) {
  player.info = {{"Year", u"2004-05-01"}, {"Genre", u"(17)Rock"}};
  track.readFile(u"a.wma");
  EXPECT_EQ(track.getYear(), u"2004");
  EXPECT_EQ(track.getYear(), u"2004");
  EXPECT_EQ(track.getGenre(), u"Rock");
  EXPECT_EQ(track.getGenre(), u"Rock");

  HostTrackInfo noYear(player);
  player.info = {{"Year", u"05/01"}};
  noYear.readFile(u"b.wma");
  EXPECT_EQ(noYear.getYear(), u"Unknown");
}

TEST_F(HostTrackInfoTest, WithoutAPlayerNothingIsAsked) {
  player.present = false;
  player.sampleRateKHz = 44;
  player.info = {{"Title", u"Song"}, {"Comment", u"c"}};
  EXPECT_EQ(track.readFile(u"a.wma"), ReadResult::NotOpened);
  EXPECT_TRUE(player.asked.empty());
  EXPECT_EQ(track.getFileName(), u"a.wma");
  EXPECT_EQ(track.getTitle(), u"Unknown");
  EXPECT_EQ(track.getSampleRate(), u"");
  EXPECT_FALSE(track.hasComment());
}

}  // namespace
}  // namespace tunora
