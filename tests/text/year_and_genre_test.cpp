#include "text/year_and_genre.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(YearAndGenre, ReduceYearKeepsFirstRunOfFourDigits) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"2004-05-01", u"2004"}, {u"1999", u"1999"},     {u"99", u"Unknown"}, {u"12345", u"1234"},
      {u"2OO4", u"Unknown"},    {u"199x2004", u"2004"}, {u"", u"Unknown"},
  };
  for (const auto& [input, expected] : cases) {
    std::u16string year = input;
    EXPECT_EQ(reduceYear(year), expected != u"Unknown");
    EXPECT_EQ(year, expected);
  }
}

TEST(YearAndGenre, StripGenreNumber) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"(17)Rock", u"Rock"},           {u"(17)", u""}, {u"(Rock", u"(Rock"},
      {u"Rock (live)", u"Rock (live)"}, {u"", u""},     {u"(1)(2)x", u"(2)x"},
  };
  for (const auto& [input, expected] : cases) {
    std::u16string genre = input;
    stripGenreNumber(genre);
    EXPECT_EQ(genre, expected);
  }
}

}  // namespace
}  // namespace tunora
