#include "htmlcreator/multiple_tags.h"

#include <gtest/gtest.h>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::makeTrack;

TEST(MultipleTags, CopiesEveryValueOfATrack) {
  MultipleTags tags;
  tags.add(makeTrack({.file = u"/music/Band/02 - Song.flac",
                      .title = u"Song",
                      .artist = u"Band",
                      .album = u"Album",
                      .year = u"1999",
                      .genre = u"Rock",
                      .trackNumber = u"02/10",
                      .presentTags = u"FLAC-Comments",
                      .comment = u"c1\nc2",
                      .lyrics = u"l1",
                      .cover = std::vector<std::uint8_t>(120, 7),
                      .bitsPerSecond = 192 * 1024,
                      .hertz = 44100,
                      .channels = 2}));
  ASSERT_EQ(tags.count(), 1u);
  const PageTrack* entry = tags.track(0);
  ASSERT_NE(entry, nullptr);
  const Track& v = entry->values;
  EXPECT_EQ(v.title, u"Song");
  EXPECT_EQ(v.trackNumber, u"02/10");
  EXPECT_EQ(kilobitFigure(v.stream), 192u);
  EXPECT_EQ(v.stream.sampleRate, 44100u);
  EXPECT_EQ(v.stream.channels, 2u);
  EXPECT_EQ(shortFileNameOf(v), u"02 - Song.flac");
  EXPECT_EQ(fileTypeOf(v), u"FLAC");
  EXPECT_TRUE(v.hasTag && v.hasCover && v.hasLyrics && v.hasComment);
  ASSERT_TRUE(v.comment);
  EXPECT_EQ(v.comment->lineCount(), 2u);
  ASSERT_NE(entry->picture, nullptr);
  EXPECT_EQ(entry->picture->size(), 120u);
  EXPECT_FALSE(v.cover) << "kept once by the page";
  EXPECT_FALSE(entry->cover.settled);
  EXPECT_EQ(tags.track(1), nullptr);
  EXPECT_EQ(tags.trackCover(1), nullptr);
}

TEST(MultipleTags, SingleTrackSummariesAreItsOwnValues) {
  MultipleTags tags;
  tags.add(makeTrack({.artist = u"A",
                      .album = u"B",
                      .year = u"2001",
                      .genre = u"Jazz",
                      .bitsPerSecond = 128 * 1024,
                      .hertz = 48000,
                      .channels = 1}));
  EXPECT_EQ(tags.summary("artist"), u"A");
  EXPECT_EQ(tags.summary("album"), u"B");
  EXPECT_EQ(tags.summary("year"), u"2001");
  EXPECT_EQ(tags.summary("genre"), u"Jazz");
  EXPECT_EQ(tags.summary("bitrate"), u"128");
  EXPECT_EQ(tags.summary("samplerate"), u"48000");
  EXPECT_EQ(tags.summary("stereomode"), u"1");
}

TEST(MultipleTags, EmptyGroupIsUnknownEverywhere) {
  MultipleTags tags;
  for (const auto& value :
       {tags.summary("artist"), tags.summary("album"), tags.summary("year"), tags.summary("genre"),
        tags.summary("bitrate"), tags.summary("presenttags"), tags.summary("filetype")})
    EXPECT_EQ(value, u"Unknown");
  EXPECT_FALSE(tags.anyCover());
  EXPECT_EQ(tags.firstComment(), nullptr);
}

TEST(MultipleTags, CommonArtistAndAlbumIgnoreLetterCase) {
  MultipleTags tags;
  tags.add(makeTrack({.artist = u"The Band", .album = u"One"}));
  tags.add(makeTrack({.artist = u"THE BAND", .album = u"Two"}));
  EXPECT_EQ(tags.summary("artist"), u"The Band");
  EXPECT_EQ(tags.summary("album"), u"Various Albums");
  tags.add(makeTrack({.artist = u"Other"}));
  EXPECT_EQ(tags.summary("artist"), u"Various Artists");
}

TEST(MultipleTags, RangesMarkMissingValues) {
  const auto rangeOf = [](std::initializer_list<std::u16string_view> years) {
    MultipleTags tags;
    for (const auto year : years) tags.add(makeTrack({.year = std::u16string(year)}));
    return tags.summary("year");
  };
  EXPECT_EQ(rangeOf({u"1999", u"2001", u"Unknown"}), u"1999-2001 (+Unknown)");
  EXPECT_EQ(rangeOf({u"2001", u"1999"}), u"1999-2001");
  EXPECT_EQ(rangeOf({u"128", u"128", u"128"}), u"128");
  EXPECT_EQ(rangeOf({u"Unknown", u"Unknown"}), u"Unknown");
  EXPECT_EQ(rangeOf({u"0", u"2000"}), u"2000 (+Unknown)");
  // Leading digits count; the rest of the text does not.
  EXPECT_EQ(rangeOf({u"2004-05-01", u"1990s"}), u"1990-2004");
  // Values of a million or more never lower the lowest value.
  EXPECT_EQ(rangeOf({u"1000000", u"2000000"}), u"2000000");
  EXPECT_EQ(rangeOf({u"99999999999999999999999", u"5"}), u"5-4294967295");
}

TEST(MultipleTags, BitrateSampleRateAndChannelRanges) {
  MultipleTags tags;
  tags.add(makeTrack({.bitsPerSecond = 128 * 1024, .hertz = 44100, .channels = 2}));
  tags.add(makeTrack({.bitsPerSecond = 192 * 1024, .hertz = 22050, .channels = 1}));
  tags.add(makeTrack({.bitsPerSecond = 160 * 1024, .hertz = 0, .channels = 2}));
  EXPECT_EQ(tags.summary("bitrate"), u"128-192");
  EXPECT_EQ(tags.summary("samplerate"), u"22050-44100 (+Unknown)");
  EXPECT_EQ(tags.summary("stereomode"), u"1-2");
}

TEST(MultipleTags, DistinctListsKeepFirstFormAndOrder) {
  MultipleTags tags;
  tags.add(makeTrack({.file = u"/m/a.mp3", .genre = u"Rock"}));
  tags.add(makeTrack({.file = u"/m/b.OGG", .genre = u"Jazz"}));
  tags.add(makeTrack({.file = u"/m/c.Mp3", .genre = u"ROCK"}));
  tags.add(makeTrack({.file = u"/m/noextension", .genre = u"Pop"}));
  EXPECT_EQ(tags.summary("genre"), u"Rock, Jazz, Pop");
  EXPECT_EQ(tags.summary("filetype"), u"MP3, OGG, Unknown");
}

TEST(MultipleTags, PresentTagsMarkKindsThatEveryTrackHas) {
  const auto presentOf = [](std::initializer_list<std::u16string_view> texts) {
    MultipleTags tags;
    for (const auto text : texts) tags.add(makeTrack({.presentTags = std::u16string(text)}));
    return tags.summary("presenttags");
  };
  EXPECT_EQ(presentOf({u"ID3v1,ID3v2", u"ID3v2"}), u"ID3v1, ID3v2(all)");
  EXPECT_EQ(presentOf({u"None", u"APEv2"}), u"None, APEv2");
  EXPECT_EQ(presentOf({u"APEv2", u"None"}), u"APEv2");
  EXPECT_EQ(presentOf({u"OGG-Comments", u"ogg-comments"}), u"OGG-Comments(all)");
  // Unknown kinds are listed but never marked; pieces are not trimmed.
  EXPECT_EQ(presentOf({u"Custom", u"Custom"}), u"Custom");
  EXPECT_EQ(presentOf({u"ID3v1, ID3v2", u"ID3v2"}), u"ID3v1,  ID3v2, ID3v2");
}

TEST(MultipleTags, GroupQueriesFindTheFirstTrackWithAValue) {
  MultipleTags tags;
  tags.add(makeTrack({.title = u"plain"}));
  tags.add(makeTrack({.comment = u"second"}));
  tags.add(makeTrack({.comment = u"third", .lyrics = u"la"}));
  EXPECT_FALSE(tags.anyCover());
  EXPECT_TRUE(tags.anyLyrics());
  EXPECT_TRUE(tags.anyComment());
  ASSERT_NE(tags.firstComment(), nullptr);
  EXPECT_EQ(*tags.firstComment()->line(0), u"second");
}

TEST(MultipleTags, EqualPicturesAreKeptOnceAndTextsOutliveTheirReaders) {
  std::vector<std::uint8_t> picture(300, 7);
  auto other = picture;
  other.back() = 8;
  MultipleTags tags;
  tags.add(makeTrack({.comment = u"one\ntwo", .lyrics = u"la", .cover = picture}));
  tags.add(makeTrack({.cover = picture}));
  tags.add(makeTrack({.cover = other}));
  tags.add(makeTrack({}));
  EXPECT_EQ(tags.track(0)->picture, tags.track(1)->picture);
  EXPECT_NE(tags.track(0)->picture, tags.track(2)->picture);
  EXPECT_EQ(*tags.track(2)->picture, other);
  EXPECT_EQ(tags.track(3)->picture, nullptr);
  EXPECT_EQ(tags.groupPicture(), tags.track(0)->picture);
  // The readers are gone: the texts are the page's own copies.
  ASSERT_TRUE(tags.track(0)->values.comment);
  EXPECT_EQ(*tags.track(0)->values.comment->line(1), u"two");
  EXPECT_EQ(*tags.track(0)->values.lyrics->line(0), u"la");
  EXPECT_FALSE(tags.track(1)->values.comment);
  EXPECT_EQ(MultipleTags().groupPicture(), nullptr);
}

// Keys look at the ends of a large picture only: pictures that differ in the
// middle alone are still told apart, at the largest size hashed whole and one
// byte past it.
TEST(MultipleTags, PicturesThatDifferOnlyInTheMiddleAreKeptApart) {
  for (const std::size_t size : {std::size_t{8192}, std::size_t{8193}}) {
    std::vector<std::uint8_t> picture(size, 7);
    auto other = picture;
    other[size / 2] = 8;
    MultipleTags tags;
    tags.add(makeTrack({.cover = picture}));
    tags.add(makeTrack({.cover = other}));
    tags.add(makeTrack({.cover = picture}));
    EXPECT_NE(tags.track(0)->picture, tags.track(1)->picture) << size;
    EXPECT_EQ(*tags.track(1)->picture, other) << size;
    EXPECT_EQ(tags.track(0)->picture, tags.track(2)->picture) << size;
  }
}

}  // namespace
}  // namespace tunora
