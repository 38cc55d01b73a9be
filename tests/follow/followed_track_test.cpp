#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "follow/player_track.h"
#include "htmlcreator/page_builder.h"
#include "htmlcreator/page_support.h"
#include "io/text_file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using testing::toU16;

// The followed player's track on a page, as the follow command builds it.
class FollowedTrackPage : public ::testing::Test {
 protected:
  FollowedTrackPage() {
    TextLines lines;
    for (const char c : std::string("<$trackbegin$>\n<$songname$>|<$artist$>|<$year$>|"
                                    "<$tracknr$>|<$genre$>|<$shortfilename$>\n<$trackend$>"))
      lines.appendUnit(c);
    lines.setUnicode(true);
    EXPECT_EQ(saveTextFile(lines, dir.file("single.html")), 1);
    creator.chooseTemplate(TemplateSlot::SingleTrack, dir.file("single.html"));
  }

  // The page's track row.
  std::string pageOf(const PlayerTrack& track) {
    const BuiltPage built =
        buildPage(creator, settings, colours, {pageEntryOf(track)}, TemplateSlot::SingleTrack,
                  [&track](const std::u16string& name) { return trackOf(track, name); });
    std::string text = testing::textOf(built.page);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }

  testing::TempDir dir;
  HostLink none;
  HtmlCreator creator{nullptr, none};
  PageSettings settings;
  PageColours colours;
};

TEST_F(FollowedTrackPage, StreamIsDescribedFromTheMetadata) {
  PlayerTrack track;
  track.url = "http://radio.example/live.mp3";
  track.title = "Live";
  track.artists = {"One", "", "Two"};
  track.created = "2004-05-01T00:00:00";
  track.trackNumber = 7;
  track.genres = {"Ambient", "Jazz"};
  EXPECT_EQ(pageOf(track), "Live|One, Two|2004|7|Ambient, Jazz|live.mp3");

  // Missing values and a track number below 1 are unknown.
  PlayerTrack bare;
  bare.trackId = "/t/1";
  bare.trackNumber = 0;
  EXPECT_EQ(pageOf(bare), "Unknown|Unknown|Unknown|Unknown|Unknown|1");
}

TEST_F(FollowedTrackPage, LocalFileIsReadUnlessItsTypeIsSwitchedOff) {
#ifdef _WIN32
  GTEST_SKIP() << "players announce file URLs on Linux only";
#endif
  fs::copy_file(fs::path(testing::fixturePath("formats/flac_picture_tags.flac")),
                dir.path() / "a b.flac");
  PlayerTrack track;
  track.url = "file://" + (dir.path() / "a%20b.flac").string();
  track.title = "Player Title";
  EXPECT_EQ(pageOf(track), "Café Noir|Tunora Ensemble|2004|7|Ambient|a b.flac");
  settings.switches.flac = false;
  EXPECT_EQ(pageOf(track), "Player Title|Unknown|Unknown|Unknown|Unknown|a b.flac");
}

TEST(TrackOfPlayer, CutsLongTextsAndKeepsOnlyRealCommentsAndLyrics) {
  PlayerTrack track;
  // The cut falls between the two halves of a surrogate pair.
  track.title = std::string(kPlayerAnswerLimit - 1, 'x') + "\xF0\x9F\x98\x80";
  track.lyrics = std::string(kPlayerAnswerLimit + 1, 'y');
  track.comments = {"unKnown"};
  track.genres = {"(17)Rock"};
  const Track values = trackOf(track, u"/music/a.flac");
  EXPECT_EQ(values.fileName, u"/music/a.flac");
  EXPECT_EQ(values.title, std::u16string(kPlayerAnswerLimit - 1, u'x'));
  ASSERT_TRUE(values.hasLyrics && values.lyrics);
  EXPECT_EQ(values.lyrics->line(0)->size(), kPlayerAnswerLimit);
  EXPECT_FALSE(values.hasComment || values.comment);
  EXPECT_EQ(values.genre, u"Rock");
  EXPECT_FALSE(values.album || values.year || values.trackNumber || values.stream.kilobits);

  track.title = std::string(kPlayerAnswerLimit, 'x');
  track.comments = {"one", "", "two"};
  const Track whole = trackOf(track, u"a");
  EXPECT_EQ(whole.title->size(), kPlayerAnswerLimit);
  ASSERT_TRUE(whole.hasComment && whole.comment);
  EXPECT_EQ(whole.comment->lineCount(), 2u);
}

}  // namespace
}  // namespace tunora
