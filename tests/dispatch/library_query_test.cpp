#include "dispatch/library_query.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(LibraryQuery, ConditionsInTheOrderArtistAlbumTitleJoinedByAnd) {
  LibraryItemValues values;
  values.title = u"Song";
  values.album = u"Record";
  values.artist = u"Band";
  EXPECT_EQ(libraryQueryText(values),
            u"artist = \"Band\" AND album = \"Record\" AND title = \"Song\"");
  // A list without an Album column, or with an empty album.
  values.album.reset();
  EXPECT_EQ(libraryQueryText(values), u"artist = \"Band\" AND title = \"Song\"");
  values.album = u"";
  EXPECT_EQ(libraryQueryText(values), u"artist = \"Band\" AND title = \"Song\"");
  values.artist.reset();
  EXPECT_EQ(libraryQueryText(values), u"title = \"Song\"");
}

TEST(LibraryQuery, WithoutAnyValueThereIsNoQuery) {
  EXPECT_EQ(libraryQueryText({}), std::nullopt);
  LibraryItemValues empty;
  empty.artist = u"";
  empty.title = u"";
  EXPECT_EQ(libraryQueryText(empty), std::nullopt);
}

TEST(LibraryQuery, QuotesInsideAValueAreDoubledSoTheValueStaysWhole) {
  EXPECT_EQ(quoteQueryValue(u"Say \"Hi\""), u"\"Say \"\"Hi\"\"\"");
  EXPECT_EQ(quoteQueryValue(u"\""), u"\"\"\"\"");
  EXPECT_EQ(quoteQueryValue(u""), u"\"\"");
  // " AND " inside a quoted value is no separator.
  LibraryItemValues values;
  values.title = u"Rock\" AND artist = \"X";
  EXPECT_EQ(libraryQueryText(values), u"title = \"Rock\"\" AND artist = \"\"X\"");
}

TEST(LibraryQuery, ColumnsAreKnownByTheirHeadersInAnyLetterCase) {
  EXPECT_EQ(libraryColumnOf(u"ARTIST"), LibraryColumn::Artist);
  EXPECT_EQ(libraryColumnOf(u"album"), LibraryColumn::Album);
  EXPECT_EQ(libraryColumnOf(u"Title"), LibraryColumn::Title);
  EXPECT_EQ(libraryColumnOf(u"Album Artist"), std::nullopt);
  EXPECT_EQ(libraryColumnOf(u"Titles"), std::nullopt);
  EXPECT_EQ(libraryColumnOf(u""), std::nullopt);
  LibraryItemValues values;
  values[LibraryColumn::Album] = u"A";
  EXPECT_EQ(values.album, u"A");
}

}  // namespace
}  // namespace tunora
