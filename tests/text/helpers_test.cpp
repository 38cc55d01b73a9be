#include "text/helpers.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(PathSplitting, BackslashWinsOverSlash) {
  EXPECT_EQ(fileNameOf(std::string_view("C:\\Music\\a/b.mp3")), "a/b.mp3");
  EXPECT_EQ(fileNameOf(std::string_view("a/b.mp3")), "b.mp3");
  EXPECT_EQ(fileNameOf(std::string_view("plain.mp3")), "plain.mp3");
  EXPECT_EQ(fileNameOf(std::u16string_view(u"C:\\M\u00FCsik\\x.ogg")), u"x.ogg");
  EXPECT_EQ(folderOf(std::string_view("C:\\Music\\a.mp3")), "C:\\Music\\");
  EXPECT_EQ(folderOf(std::string_view("/home/u/a.mp3")), "/home/u/");
  EXPECT_EQ(folderOf(std::string_view("a.mp3")), "a.mp3");
}

TEST(PathSplitting, ExtensionIsAfterLastDotOfWholePath) {
  EXPECT_EQ(extensionOf(std::string_view("C:\\my.folder\\track")), "FOLDER\\TRACK");
  EXPECT_EQ(extensionOf(std::string_view("song.Mp3")), "MP3");
  EXPECT_EQ(extensionOf(std::string_view("noext")), "Unknown");
  EXPECT_EQ(extensionOf(std::u16string_view(u"x.flac")), u"FLAC");
  EXPECT_EQ(extensionOf(std::string_view("trailing.")), "");
}

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

TEST(TextHelpers, TrimEndsWithAndHexDigits) {
  EXPECT_EQ(trimBlanks("   "), "");
  EXPECT_EQ(trimBlanks(""), "");
  EXPECT_EQ(trimBlanks("  a b \t "), "a b \t");
  EXPECT_TRUE(endsWith("song.mp3", ".mp3"));
  EXPECT_FALSE(endsWith("song.MP3", ".mp3"));
  EXPECT_FALSE(endsWith("mp3", "x.mp3"));
  EXPECT_TRUE(endsWith("abc", ""));
  EXPECT_EQ(hexDigitValue(u'0'), 0);
  EXPECT_EQ(hexDigitValue(u'9'), 9);
  EXPECT_EQ(hexDigitValue(u'a'), 10);
  EXPECT_EQ(hexDigitValue(u'F'), 15);
  EXPECT_EQ(hexDigitValue(u'g'), 0);
  EXPECT_EQ(uint32FromBytes(0x78, 0x56, 0x34, 0x12), 0x12345678u);
  EXPECT_EQ(uint32FromBytes(0xFF, 0xFF, 0xFF, 0xFF), 0xFFFFFFFFu);
}

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
