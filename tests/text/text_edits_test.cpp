#include "text/text_edits.h"

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
