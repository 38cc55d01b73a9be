#include "skin/playlist_colours.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tunora {
namespace {

// Each byte one unit, as an 8-bit file is read.
TextLines pleditOf(std::string_view text) {
  TextLines lines;
  for (const char c : text) lines.appendUnit(static_cast<unsigned char>(c));
  return lines;
}

PageColours readFrom(std::string_view text) {
  PageColours colours;
  readPlaylistColours(pleditOf(text), colours);
  return colours;
}

TEST(PlaylistColours, AllFourKeysInTheFilesLetterCaseWithLfOrCrLf) {
  for (const char* lineEnd : {"\n", "\r\n"}) {
    const std::string eol = lineEnd;
    const PageColours colours =
        readFrom("[Text]" + eol + "Normal=#c0c0C0" + eol + "Current=#FFFF00" + eol +
                 "NormalBG=#202020" + eol + "SelectedBG=#0a0B0c" + eol + "Font=Arial" + eol);
    EXPECT_EQ(colours.normal, u"#c0c0C0");
    EXPECT_EQ(colours.current, u"#FFFF00");
    EXPECT_EQ(colours.normalBackground, u"#202020");
    EXPECT_EQ(colours.selectedBackground, u"#0a0B0c");
  }
}

TEST(PlaylistColours, NormalIsNotTakenFromTheNormalBGLine) {
  const PageColours colours = readFrom("NormalBG=#202020\nNormal=#C0C0C0\n");
  EXPECT_EQ(colours.normal, u"#C0C0C0");
  EXPECT_EQ(colours.normalBackground, u"#202020");
  // Without its own line the text colour stays, whatever NormalBG says.
  EXPECT_EQ(readFrom("NormalBG=#202020\n\n").normal, PageColours{}.normal);
}

TEST(PlaylistColours, OnlyTheFirstLineWithAKeyCountsAndNeverTheLastLine) {
  EXPECT_EQ(readFrom("Normal=#111111\nNormal=#222222\n").normal, u"#111111");
  // The first line is not read again when its value is unusable.
  EXPECT_EQ(readFrom("Normal=#11\nNormal=#222222\n").normal, PageColours{}.normal);
  // No line end after the key: it stands on the last line.
  EXPECT_EQ(readFrom("Current=#123456\nNormal=#C0C0C0").normal, PageColours{}.normal);
  EXPECT_EQ(readFrom("Normal=#C0C0C0").normal, PageColours{}.normal);
}

TEST(PlaylistColours, ShortValuesAreIgnored) {
  EXPECT_EQ(readFrom("Normal=#C0C0C\n\n").normal, PageColours{}.normal);
  // The carriage return is a unit of its own, but no hexadecimal digit.
  EXPECT_EQ(readFrom("Normal=#FFF\r\n\n").normal, PageColours{}.normal);
  EXPECT_EQ(readFrom("Normal=#\n\n").normal, PageColours{}.normal);
  // Exactly six digits with nothing after them is enough.
  EXPECT_EQ(readFrom("Normal=#C0C0C0\n\n").normal, u"#C0C0C0");
}

TEST(PlaylistColours, ValuesThatAreNotSixHexDigitsNeverReachThePage) {
  using namespace std::string_view_literals;
  for (const std::string_view hostile :
       {"Normal=#\"><script>alert(1)</script>\n\n"sv, "Normal=#C0C0CG\n\n"sv,
        "Normal=#12 456\n\n"sv, "Normal=#-12345\n\n"sv, "Normal=#C0C\0C0C0\n\n"sv,
        "Normal=#\xC3\xA9\xC3\xA9\xC3\xA9\n\n"sv}) {
    EXPECT_EQ(readFrom(hostile).normal, PageColours{}.normal) << hostile;
  }
  // The value follows the line's first "#", wherever the key stands.
  EXPECT_EQ(readFrom("#C0C0C0 Normal=#123456\n\n").normal, u"#C0C0C0");
  EXPECT_EQ(readFrom("; #note Normal=#123456\n\n").normal, PageColours{}.normal);
  // Digits after the six do not matter.
  EXPECT_EQ(readFrom("Normal=#ABCDEF99 ; text\n\n").normal, u"#ABCDEF");
}

}  // namespace
}  // namespace tunora
