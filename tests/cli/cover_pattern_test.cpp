// Which file names a cover pattern can form: its tokens stand for any text.

#include <gtest/gtest.h>

#include <chrono>

#include "cli/output_guard.h"

namespace tunora {
namespace {

TEST(CoverPattern, EveryTokenAnywhereStandsForAnyText) {
  const struct {
    std::u16string_view pattern;
    std::u16string_view name;
    bool matches;
  } cases[] = {
      {u"folder.jpg", u"folder.jpg", true},
      {u"folder.jpg", u"Folder.jpg", false},
      {u"folder.jpg", u"folder.jpg2", false},
      {u"", u"", true},
      {u"", u"x", false},
      // Each token at the start, in the middle and at the very end.
      {u"%a.jpg", u"ABBA.jpg", true},
      {u"%a.jpg", u".jpg", true},
      {u"%a.jpg", u"ABBA.png", false},
      {u"cover %b.jpg", u"cover Arrival.jpg", true},
      {u"cover %b.jpg", u"covers Arrival.jpg", false},
      {u"%y", u"1976", true},
      {u"%y", u"", true},
      {u"cover%Y", u"cover1976", true},
      {u"cover%Y", u"cove1976", false},
      {u"x%A", u"x", true},
      {u"x%B", u"y", false},
      {u"%a - %b", u"A - B - C", true},
      {u"%a - %b.jpg", u"A.jpg", false},
      // Literals between tokens in order, without overlapping the ends.
      {u"%aab%b", u"ab", true},
      {u"a%aa", u"a", false},
      {u"a%aa", u"aa", true},
      {u"%a-%b-%y.jpg", u"x-y.jpg", false},
      {u"%a-%b-%y.jpg", u"--.jpg", true},
      // Not tokens: "%" before another letter, and a "%" at the end.
      {u"%c.jpg", u"x.jpg", false},
      {u"%c.jpg", u"%c.jpg", true},
      {u"cover%", u"cover%", true},
      {u"cover%", u"cover", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(matchesCoverPattern(c.name, c.pattern), c.matches)
        << std::string(c.pattern.begin(), c.pattern.end()) << " / "
        << std::string(c.name.begin(), c.name.end());
}

TEST(CoverPattern, ManyTokensAgainstALongName) {
  // Trying every split of the name for every token took minutes here.
  const std::u16string pattern = u"%a%a%a%a%a%a%a%a.jpg";
  const std::u16string name(255, u'a');
  EXPECT_FALSE(matchesCoverPattern(name, pattern));
  EXPECT_TRUE(matchesCoverPattern(name + u".jpg", pattern));
  EXPECT_FALSE(matchesCoverPattern(std::u16string(60, u'a'), u"%ab%ab%ab%ab%ab%ab%ab%ab"));
}

}  // namespace
}  // namespace tunora
