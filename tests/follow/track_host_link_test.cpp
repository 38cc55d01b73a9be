#include "follow/track_host_link.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "dispatch/page_dispatch.h"
#include "htmlcreator/page_support.h"
#include "io/text_file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using testing::toU16;

// The followed player's track through the plug-in's dispatch, as the follow
// command builds its pages.
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
    const TrackHostLink player(track, none);
    const DispatchContext context{creator, settings, colours, player, u""};
    const auto written =
        createPage(context, {player.entry()}, dir.file("page.html"), TemplateSlot::SingleTrack);
    EXPECT_TRUE(written.written);
    TextLines page;
    loadTextFile(page, dir.file("page.html"), true);
    std::string text = testing::textOf(page);
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

TEST(TrackHostLink, AnswersOnlyAboutItsTrackAndCutsLongAnswers) {
  const HostLink none;
  PlayerTrack track;
  track.url = "file:///music/a.flac";
  // The cut falls between the two halves of a surrogate pair.
  track.title = std::string(kPlayerAnswerLimit - 1, 'x') + "\xF0\x9F\x98\x80";
  track.lyrics = std::string(kPlayerAnswerLimit, 'y');
  const TrackHostLink player(track, none);
  EXPECT_TRUE(player.playerPresent());
  EXPECT_EQ(player.playingFile(), u"/music/a.flac");
  EXPECT_EQ(player.fileInfo(u"/music/b.flac", "Title"), std::nullopt);
  EXPECT_EQ(player.fileInfo(u"/music/a.flac", "Rating"), std::nullopt);
  EXPECT_EQ(player.fileInfo(u"/music/a.flac", "Title"),
            std::u16string(kPlayerAnswerLimit - 1, u'x'));
  EXPECT_EQ(player.fileInfo(u"/music/a.flac", "Lyrics")->size(), kPlayerAnswerLimit);
  EXPECT_EQ(player.fileInfo(u"/music/a.flac", "Comment"), u"");
}

}  // namespace
}  // namespace tunora
