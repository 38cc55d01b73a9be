#include "text/text_edits.h"
#include "text/unit_blocks.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(ReplaceText, ReplacementContainingSearchIsNotRescanned) {
  std::string text = "%a-%a";
  EXPECT_EQ(replaceText(text, "%a", "50%ab", true), 2);
  EXPECT_EQ(text, "50%ab-50%ab");
  std::u16string wide = u"xx";
  EXPECT_EQ(replaceText(wide, u"x", u"xx", true), 2);
  EXPECT_EQ(wide, u"xxxx");
}

TEST(ReplaceText, FirstOnlyEmptySearchAndShrinking) {
  std::string text = "aXbXc";
  EXPECT_EQ(replaceText(text, "X", "", false), 1);
  EXPECT_EQ(text, "abXc");
  EXPECT_EQ(replaceText(text, "", "zz", true), 0);
  EXPECT_EQ(text, "abXc");
  EXPECT_EQ(replaceText(text, "Q", "zz", true), 0);
  EXPECT_EQ(replaceText(text, "abXc", "same", true), 1);
  EXPECT_EQ(text, "same");
}

TEST(TrimBlanks, OnlyBlanksAtEitherEnd) {
  EXPECT_EQ(trimBlanks("   "), "");
  EXPECT_EQ(trimBlanks(""), "");
  EXPECT_EQ(trimBlanks("  a b \t "), "a b \t");
}

}  // namespace
}  // namespace tunora

namespace tunora {
namespace {

// The word-at-a-time search must give what the standard library's does for
// every start place, with the match at every place in and around a word.
TEST(FindText, AgreesWithTheStandardSearchEverywhere) {
  const std::u16string_view searches[] = {u"", u"<", u"<$", u"<$a$>", u"$$", u"\u0100"};
  for (const std::u16string_view search : searches)
    for (std::size_t at = 0; at <= 9; ++at) {
      std::u16string text(9, u'x');
      text.replace(std::min(at, text.size()), search.size(), search);
      text[0] = u'<';  // a first unit without the rest
      const std::u16string_view view(text);
      for (std::size_t from = 0; from <= view.size() + 1; ++from)
        EXPECT_EQ(unit_blocks::findText(view, search, from), view.find(search, from))
            << std::string(search.begin(), search.end()) << " at " << at << " from " << from;
    }
  EXPECT_EQ(unit_blocks::findUnit(u"abc\u0161", 0x161), 3u);
  EXPECT_EQ(unit_blocks::findUnit(u"abcd\u0161", 0x61, 1), std::u16string_view::npos);
}

}  // namespace
}  // namespace tunora
