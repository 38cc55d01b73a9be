#include <gtest/gtest.h>

#include "htmlcreator/html_creator.h"
#include "htmlcreator/page_support.h"

namespace tunora {
namespace {

using testing::linesOf;
using testing::makeTrack;
using testing::textOf;

class FillGroup : public testing::PageTest {};

TEST_F(FillGroup, GroupStretchesShowSummariesAndTracksTheirOwnValues) {
  tracks.add(makeTrack({.file = u"/m/a.mp3", .title = u"One", .artist = u"X", .year = u"2001"}));
  tracks.add(makeTrack({.file = u"/m/b.ogg", .title = u"Two", .artist = u"Y", .year = u"1999"}));
  tracks.add(makeTrack({.file = u"/m/c.mp3", .title = u"Three", .artist = u"Z"}));
  EXPECT_EQ(process("<$artist$> <$year$> <$filetype$> <$songname$> <$tracknr$> <$filename$>\n"
                    "<$trackbegin$>\n<$artist$>: <$songname$>\n<$trackend$>\n<$album$>"),
            "Various Artists 1999-2001 (+Unknown) MP3, OGG <$songname$> <$tracknr$> "
            "<$filename$>\nX: One\nY: Two\nZ: Three\nUnknown");
  // The group filled last leaves its artist; the file name stays the last track's.
  EXPECT_EQ(run->lastFilled->artist, u"Various Artists");
  EXPECT_EQ(run->lastFilled->fileName, u"/m/c.mp3");
}

TEST_F(FillGroup, APageOfGroupSectionsOnlyNamesItsFirstTrackForTheCoverSearch) {
  tracks.add(makeTrack({.file = u"/m/a.mp3", .artist = u"X", .album = u"Live"}));
  tracks.add(makeTrack({.file = u"/n/b.mp3", .artist = u"X", .album = u"Live"}));
  // An empty track section: no track is filled on this page.
  EXPECT_EQ(process("<$artist$>\n<$trackbegin$>\n<$trackend$>"), "X");
  ASSERT_TRUE(run->lastFilled);
  EXPECT_EQ(run->lastFilled->artist, u"X");
  EXPECT_EQ(run->lastFilled->album, u"Live");
  EXPECT_EQ(run->lastFilled->fileName, u"/m/a.mp3");
  // Nothing filled at all: nothing for the cover search.
  EXPECT_EQ(process(""), "");
  EXPECT_FALSE(run->lastFilled);
}

TEST_F(FillGroup, TheGroupCommentIsTheFirstTrackComment) {
  tracks.add(makeTrack({}));
  tracks.add(makeTrack({.comment = u"first <one>"}));
  tracks.add(makeTrack({.comment = u"second"}));
  EXPECT_EQ(process("<$commentbegin$>\n<$comment$>\n<$commentend$>\n<$trackbegin$>\n<$trackend$>"),
            "\nfirst &lt;one&gt;<br>\n");
}

TEST_F(FillGroup, LyricsSectionSpanningTrackSectionsShowsOnlyTracksWithLyrics) {
  const std::string templateText =
      "<table>\n<$lyricsbegin$>\nLYRICS\n<$trackbegin$>\n<$lyricsbegin$>\n"
      "<$songname$>: <$lyrics$>\n<$lyricsend$>\n<$trackend$>\nend of lyrics\n<$lyricsend$>\n"
      "</table>";
  tracks.add(makeTrack({.title = u"one"}));
  tracks.add(makeTrack({.title = u"two", .lyrics = u"la"}));
  tracks.add(makeTrack({.title = u"three"}));
  EXPECT_EQ(process(templateText),
            "<table>\n\nLYRICS\n\n\n\n\ntwo: la<br>\n\n\n\n\nend of lyrics\n\n</table>");

  // Without any lyrics both stretches lose their part of the section.
  MultipleTags none;
  none.add(makeTrack({.title = u"one"}));
  TextLines page = linesOf(templateText);
  creator.processTemplate(page, none, newRun());
  EXPECT_EQ(textOf(page), "<table>\n\n\n\n\n\n\n\n</table>");
}

}  // namespace
}  // namespace tunora
