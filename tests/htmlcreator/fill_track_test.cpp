#include <gtest/gtest.h>

#include "htmlcreator/html_creator.h"
#include "htmlcreator/page_support.h"
#include "io/file.h"

namespace tunora {
namespace {

using testing::linesOf;
using testing::makeTrack;
using testing::textOf;

class FillTrack : public testing::PageTest {};

TEST_F(FillTrack, ReplacesEveryTrackToken) {
  tracks.add(makeTrack({.file = u"/music/Band/03 - Song.mp3",
                        .title = u"Song",
                        .artist = u"Band",
                        .album = u"Album",
                        .year = u"1999",
                        .genre = u"Rock",
                        .trackNumber = u"03/12",
                        .presentTags = u"ID3v1,ID3v2",
                        .bitsPerSecond = 128 * 1024,
                        .hertz = 44100,
                        .channels = 2}));
  EXPECT_EQ(fill("<$artist$>|<$album$>|<$songname$>|<$year$>|<$genre$>|<$tracknr$>|"
                 "<$tracknrclean$>\n<$bitrate$>|<$samplerate$>|<$stereomode$>|<$presenttags$>\n"
                 "<$filetype$>|<$filename$>|<$shortfilename$>|<$trackcount$>"),
            "Band|Album|Song|1999|Rock|03/12|3\n128|44100|2|ID3v1,ID3v2\n"
            "MP3|/music/Band/03 - Song.mp3|03 - Song.mp3|<$trackcount$>");
  EXPECT_EQ(run->lastFilled->artist, u"Band");
  EXPECT_EQ(run->lastFilled->album, u"Album");
  EXPECT_EQ(run->lastFilled->fileName, u"/music/Band/03 - Song.mp3");
}

TEST_F(FillTrack, EscapesEveryValueFromTheFile) {
  tracks.add(makeTrack({.file = u"/m/<b>&'x'.mp3",
                        .title = u"<script>alert(\"x\")</script>",
                        .artist = u"Tom & Jerry",
                        .comment = u"<i>one</i>\r\ntwo & three",
                        .lyrics = u"a<b"}));
  EXPECT_EQ(fill("<$songname$>\n<$artist$>\n<$shortfilename$>\n<$comment$>\n<$lyrics$>"),
            "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;\nTom &amp; Jerry\n"
            "&lt;b&gt;&amp;&#39;x&#39;.mp3\n&lt;i&gt;one&lt;/i&gt;<br>two &amp; three<br>\n"
            "a&lt;b<br>");
}

// A link to the file itself, in the form of the platform's paths; a stream's
// address stays the address it is.
TEST_F(FillTrack, FileUrlLinksToTheTrack) {
  const bool windows = kPathSeparator == '\\';
  const std::u16string file = windows ? u"C:\\Music\\<b>&'x'#1.mp3" : u"/music/<b>&'x'#1.mp3";
  tracks.add(makeTrack({.file = file}));
  tracks.add(makeTrack({.file = u"http://radio.example/live?a=1&b=2"}));
  tracks.add(makeTrack({.file = u""}));
  EXPECT_EQ(fill("<a href=\"<$fileurl$>\">", 0),
            windows ? "<a href=\"file:///C:/Music/%3Cb%3E%26%27x%27%231.mp3\">"
                    : "<a href=\"file:///music/%3Cb%3E%26%27x%27%231.mp3\">");
  EXPECT_EQ(fill("<$fileurl$>", 1), "http://radio.example/live?a=1&amp;b=2");
  EXPECT_EQ(fill("[<$fileurl$>]", 2), "[]");
}

TEST_F(FillTrack, LyricsAndCommentSectionsAreKeptOnlyWithAValue) {
  tracks.add(makeTrack({.lyrics = u"la\nla"}));
  tracks.add(makeTrack({.comment = u"note"}));
  const std::string section =
      "<$lyricsbegin$>\n<$lyrics$>\n<$lyricsend$> end\n<$commentbegin$> c:\n<$comment$>\n"
      "<$commentend$>\nrest";
  EXPECT_EQ(fill(section, 0), "\nla<br>la<br>\n end\n\n\n\nrest");
  EXPECT_EQ(fill(section, 1), "\n\n\n c:\nnote<br>\n\nrest");
}

// Kept only where it tells something: an album artist that is not the artist.
TEST_F(FillTrack, AlbumArtistSectionOnlyForAnotherArtist) {
  const struct {
    const char16_t* albumArtist;
    const char16_t* artist;
    const char* filled;
  } cases[] = {
      {u"Various", u"Band", "\nVarious 1:01\n\nrest"},
      {u"BAND", u"Band", "\n\n\nrest"},
      {u"Unknown", u"Band", "\n\n\nrest"},
  };
  for (const auto& c : cases) {
    tracks.add(
        makeTrack({.artist = c.artist, .albumArtist = c.albumArtist, .milliseconds = 61999}));
    EXPECT_EQ(fill("<$albumartistbegin$>\n<$albumartist$> <$duration$>\n<$albumartistend$>\nrest",
                   tracks.count() - 1),
              c.filled)
        << c.filled;
  }
}

TEST_F(FillTrack, WithoutCoverTokenTheSizeTokensStay) {
  tracks.add(makeTrack({}));
  EXPECT_EQ(fill("<$coverwidth$>x<$coverheight$>\n<$coverbegin$>k<$coverend$>"),
            "<$coverwidth$>x<$coverheight$>\nk");
}

TEST_F(FillTrack, CleanTrackNumber) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"03/12", u"3"},
      {u"007", u"7"},
      {u"10", u"10"},
      {u"A5", u"5"},
      {u"0000", u"0000"},
      {u"Unknown", u"Unknown"},
      {u"0", u"Unknown"},
      {u"00", u"Unknown"},
      {u"000", u"Unknown"},
      {u"", u"Unknown"},
      {u"12a3", u"12"},
      {u"/", u"/"},
      // Only the first 20 units are looked at.
      {u"00000000000000000000009", u"00000000000000000000009"},
  };
  for (const auto& [input, expected] : cases)
    EXPECT_EQ(cleanTrackNumber(input), expected) << convertUTF16ToUTF8(input);
}

TEST_F(FillTrack, AnIndexPastTheEndChangesNothing) {
  EXPECT_EQ(fill("<$songname$>", 3), "<$songname$>");
}

}  // namespace
}  // namespace tunora
