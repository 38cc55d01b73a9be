#include "text/ascii_case.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(AsciiCase, OnlyTheTwentySixLettersChange) {
  // The neighbours of both letter ranges, and letters outside ASCII.
  EXPECT_EQ(toLowerAscii(std::string_view("@AZ[`az{\xC4")), "@az[`az{\xC4");
  EXPECT_EQ(toUpperAscii(std::string_view("@AZ[`az{\xE4")), "@AZ[`AZ{\xE4");
  EXPECT_EQ(toLowerAscii(std::u16string_view(u"Fran\u00C7ois \u0130")), u"fran\u00C7ois \u0130");
  EXPECT_EQ(toUpperAscii(std::u16string_view(u"\u00E9t\u00E9")), u"\u00E9T\u00E9");
  EXPECT_EQ(lowerAscii(std::uint8_t{'M'}), 'm');
  EXPECT_EQ(upperAscii(char16_t{0x0161}), char16_t{0x0161});
}

TEST(AsciiCase, EqualityIgnoresOnlyAsciiCase) {
  EXPECT_TRUE(equalIgnoringAsciiCase(std::string_view("MooV"), std::string_view("moov")));
  EXPECT_TRUE(equalIgnoringAsciiCase(std::u16string_view(u""), std::u16string_view(u"")));
  EXPECT_FALSE(equalIgnoringAsciiCase(std::u16string_view(u"ogg"), std::u16string_view(u"oggs")));
  EXPECT_FALSE(
      equalIgnoringAsciiCase(std::u16string_view(u"\u00C4"), std::u16string_view(u"\u00E4")));
  EXPECT_FALSE(equalIgnoringAsciiCase(std::string_view("@"), std::string_view("`")));
}

}  // namespace
}  // namespace tunora
