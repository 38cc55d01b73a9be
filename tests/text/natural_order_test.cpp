#include "text/natural_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tunora {
namespace {

TEST(NaturalOrder, PairsInTheOrderAFileManagerShows) {
  const struct {
    std::u16string first;
    std::u16string second;
  } cases[] = {
      {u"Disc 2", u"Disc 10"},
      {u"track 9.mp3", u"Track 10.mp3"},
      {u"9", u"10"},
      {u"99", u"100"},
      {u"a", u"B"},
      {u"B", u"c"},
      {u"\u00C4rger", u"\u00E4rger2"},  // Latin-1 letters fold as well
      {u"ab", u"abc"},
      {u"a", u"a0"},
      {u"x1y", u"x1z"},
      {u"1 a", u"01 b"},  // the value decides before the zeros do
      {u"7", u"007"},     // equal values: fewer leading zeros first
      {u"0", u"00"},
      {u"A", u"a"},  // equal but for case: a fixed order all the same
      {u"file", u"file 1"},
      {u"12345678901234567890123", u"12345678901234567890124"},  // beyond 64 bits
      {u"99999999999999999999", u"100000000000000000000"},
      {u"1.mp3", u"a.mp3"},
  };
  for (const auto& [first, second] : cases) {
    EXPECT_LT(compareNaturally(first, second), 0) << std::string(first.begin(), first.end());
    EXPECT_GT(compareNaturally(second, first), 0) << std::string(first.begin(), first.end());
  }
}

TEST(NaturalOrder, EqualOnlyForTheSameName) {
  for (const std::u16string name : {u"", u"a", u"Disc 007", u"\u00C4"})
    EXPECT_EQ(compareNaturally(name, name), 0);
  EXPECT_NE(compareNaturally(u"a", u"A"), 0);
  EXPECT_NE(compareNaturally(u"1", u"01"), 0);
  EXPECT_LT(compareNaturally(u"", u"a"), 0);
}

TEST(NaturalOrder, SortsAnAlbumFolder) {
  std::vector<std::u16string> names = {u"10 - Ten.mp3", u"Disc 10", u"2 - Two.mp3", u"1 - One.mp3",
                                       u"disc 2",       u"Disc 1",  u"folder.jpg"};
  std::sort(names.begin(), names.end(), naturallyBefore);
  const std::vector<std::u16string> expected = {u"1 - One.mp3", u"2 - Two.mp3", u"10 - Ten.mp3",
                                                u"Disc 1",      u"disc 2",      u"Disc 10",
                                                u"folder.jpg"};
  EXPECT_EQ(names, expected);
}

}  // namespace
}  // namespace tunora
