#include "follow/player_track.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(LocalPathOf, DecodesFileUrls) {
  EXPECT_EQ(localPathOf("file:///music/02%20Bravo%20%C3%A9t%C3%A9.flac"),
            u"/music/02 Bravo été.flac");
  EXPECT_EQ(localPathOf("FILE://localhost/a%2fb.mp3"), u"/a/b.mp3");
  // An escape at the very end, and "%" without two hex digits after it.
  EXPECT_EQ(localPathOf("file:///%41"), u"/A");
  EXPECT_EQ(localPathOf("file:///100%"), u"/100%");
  EXPECT_EQ(localPathOf("file:///a%4"), u"/a%4");
  EXPECT_EQ(localPathOf("file:///a%zz.mp3"), u"/a%zz.mp3");
}

TEST(LocalPathOf, RefusesWhatNamesNoLocalFile) {
  for (const char* url : {"http://host/a.mp3", "file://", "file:/a.mp3", "file://host/a.mp3",
                          "file://localhost", "file:///a%00b.mp3", "file:///%FF%FE.mp3", "", "fil"})
    EXPECT_EQ(localPathOf(url), std::nullopt) << url;
}

TEST(PageEntryOf, IsThePathTheStreamOrTheTrackId) {
  PlayerTrack track;
  EXPECT_EQ(pageEntryOf(track), u"mpris:track");
  track.trackId = "/org/mpv/Track/3";
  EXPECT_EQ(pageEntryOf(track), u"/org/mpv/Track/3");
  // A file URL without a usable path is not handed on as a URL.
  track.url = "file://server/share/a.mp3";
  EXPECT_EQ(pageEntryOf(track), u"/org/mpv/Track/3");
  track.url = "https://radio.example/live";
  EXPECT_EQ(pageEntryOf(track), u"https://radio.example/live");
  track.url = "file:///music/a%20b.ogg";
  EXPECT_EQ(pageEntryOf(track), u"/music/a b.ogg");
}

TEST(FingerprintOf, IsShortAndTellsTracksApart) {
  PlayerTrack one;
  one.trackId = "/1";
  one.title = std::string(1 << 20, 'x');
  PlayerTrack same = one;
  EXPECT_EQ(fingerprintOf(one), fingerprintOf(same));
  EXPECT_LE(fingerprintOf(one).size(), 16u);
  for (auto change :
       {+[](PlayerTrack& t) { t.trackId = "/2"; }, +[](PlayerTrack& t) { t.title.back() = 'y'; },
        +[](PlayerTrack& t) { t.artists = {"A"}; }, +[](PlayerTrack& t) { t.trackNumber = 0; }}) {
    PlayerTrack other = one;
    change(other);
    EXPECT_NE(fingerprintOf(one), fingerprintOf(other));
  }
  // The parts stay apart: "ab" + "" is not "a" + "b".
  PlayerTrack ab, a;
  ab.trackId = "ab";
  a.trackId = "a";
  a.url = "b";
  EXPECT_NE(fingerprintOf(ab), fingerprintOf(a));
}

}  // namespace
}  // namespace tunora
