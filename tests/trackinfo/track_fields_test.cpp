#include "trackinfo/track_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "trackinfo/track_info.h"

namespace tunora {
namespace {

const TrackField& field(std::string_view key) {
  for (const TrackField& each : trackFields())
    if (each.key == key) return each;
  ADD_FAILURE() << "no field " << key;
  return trackFields().front();
}

TEST(TrackFields, EachRowIsComplete) {
  std::set<std::string_view> keys;
  std::set<std::u16string_view> tokens;
  for (const TrackField& row : trackFields()) {
    EXPECT_FALSE(row.key.empty() && row.token.empty());
    if (!row.key.empty()) {
      EXPECT_TRUE(keys.insert(row.key).second) << row.key;
    }
    if (!row.token.empty()) {
      EXPECT_TRUE(tokens.insert(row.token).second) << row.key;
      EXPECT_TRUE(row.token.starts_with(u"<$") && row.token.ends_with(u"$>")) << row.key;
    }
    const bool accessor[] = {row.text != nullptr, row.flag != nullptr, row.lines != nullptr,
                             row.count != nullptr, row.text && row.figure};
    EXPECT_TRUE(accessor[static_cast<int>(row.format)]) << row.key;
    const bool summed = row.group == GroupRule::Range || row.group == GroupRule::Total;
    EXPECT_TRUE(!summed || row.figure != nullptr) << row.key;
    EXPECT_EQ(row.group == GroupRule::Common, !row.various.empty()) << row.key;
    EXPECT_TRUE(row.group == GroupRule::None || !row.token.empty()) << row.key;
  }
}

// Stream figures stay numbers up to the summary: a rate below one unit shows
// "0" for the track but counts as unknown in a range, as does a player that
// was never asked.
TEST(TrackFields, StreamFiguresInRanges) {
  const auto withRate = [](std::optional<std::uint64_t> kilobits, bool known) {
    Track track;
    // Half a kibibit over the figure, so that 0 is a rate below one unit.
    if (kilobits) track.stream.bitsPerSecond = *kilobits * 1024 + 512;
    track.stream.known = known;
    return track;
  };
  const struct {
    std::vector<Track> tracks;
    std::u16string shownFirst;
    std::u16string summary;
  } cases[] = {
      {{withRate(0, true), withRate(128, true)}, u"0", u"128 (+Unknown)"},
      {{withRate(std::nullopt, true)}, u"Unknown", u"Unknown"},
      {{withRate(320, false), withRate(96, true)}, u"", u"96 (+Unknown)"},
      {{withRate(999999, true), withRate(1000000, true)}, u"999999", u"999999-1000000"},
      {{withRate(1000000, true), withRate(1000001, true)}, u"1000000", u"1000001"},
  };
  for (const auto& c : cases) {
    std::vector<const Track*> tracks;
    for (const Track& track : c.tracks) tracks.push_back(&track);
    EXPECT_EQ(field("bitrate").textOf(c.tracks.front()), c.shownFirst);
    EXPECT_EQ(groupSummary(field("bitrate"), tracks), c.summary);
  }
  EXPECT_EQ(groupSummary(field("bitrate"), {}), u"Unknown");
}

// Whole seconds, rounded down, at each unit's edge; a group adds them up.
TEST(TrackFields, PlayingTimes) {
  const struct {
    std::uint64_t milliseconds;
    std::u16string shown;
    std::string seconds;
  } cases[] = {
      {999, u"0:00", "0.999"},           {59999, u"0:59", "59.999"},
      {60000, u"1:00", "60.000"},        {3599999, u"59:59", "3599.999"},
      {3600000, u"1:00:00", "3600.000"}, {36000005, u"10:00:00", "36000.005"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(durationText(c.milliseconds), c.shown);
    EXPECT_EQ(secondsText(c.milliseconds), c.seconds);
  }
  Track timed;
  timed.stream.milliseconds = 61500;
  Track untimed;
  EXPECT_EQ(field("duration").textOf(timed), u"1:01");
  EXPECT_EQ(field("duration").textOf(untimed), u"Unknown");
  const TrackField& total =
      *std::find_if(trackFields().begin(), trackFields().end(),
                    [](const auto& f) { return f.token == u"<$totaltime$>"; });
  const std::vector<const Track*> both{&timed, &untimed, &timed};
  EXPECT_EQ(groupSummary(total, both), u"2:03 (+Unknown)");
  EXPECT_EQ(groupSummary(total, std::vector<const Track*>{&untimed}), u"Unknown");
}

TEST(TrackFields, ListingFormats) {
  Track track;
  track.fileName = u"/m/a.ogg";
  track.coverSize = 4096;
  track.hasCover = true;
  EXPECT_EQ(field("shortfilename").textOf(track), u"a.ogg");
  EXPECT_EQ(field("filetype").textOf(track), u"OGG");
  EXPECT_EQ(field("songname").textOf(track), u"Unknown");
  EXPECT_EQ(field("presenttags").textOf(track), u"None");
  EXPECT_TRUE(field("hascover").flag(track));
  EXPECT_EQ(field("coverbytes").count(track), 4096u);
  EXPECT_EQ(field("comment").lines(track), nullptr);
}

// A reader's "Unknown" is an absent value; its figures and lines carry over.
TEST(TrackInfoToTrack, TakesEveryValue) {
  class Read : public TrackInfo {
   public:
    Read() {
      setKilobitsPerSecond(192);
      setChannels(2);
      takeTagValues(*this, u"Unknown");
    }
    std::u16string title() const { return u"Song"; }
    std::u16string artist() const { return std::u16string(kUnknown); }
    std::u16string album() const { return u""; }
    std::u16string year() const { return u"1999"; }
    std::u16string track() const { return u"Unknown"; }
    std::u16string albumArtist() const { return u"Various"; }
    std::u16string disc() const { return u"1/2"; }
    std::u16string composer() const { return u"Unknown"; }
  };
  Read read;
  const Track track = read.toTrack();
  EXPECT_EQ(track.title, u"Song");
  EXPECT_FALSE(track.artist || track.trackNumber || track.genre);
  EXPECT_EQ(track.album, u"") << "an empty text is a value";
  EXPECT_EQ(track.year, u"1999");
  EXPECT_EQ(track.albumArtist, u"Various");
  EXPECT_EQ(track.discNumber, u"1/2");
  EXPECT_FALSE(track.composer);
  EXPECT_EQ(kilobitFigure(track.stream), 192u);
  EXPECT_EQ(track.stream.channels, 2u);
  EXPECT_FALSE(track.stream.sampleRate);
  EXPECT_EQ(track.fileName, u"Unknown");
  EXPECT_FALSE(track.hasCover || track.cover || track.comment);
}

}  // namespace
}  // namespace tunora
