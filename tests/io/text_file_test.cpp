#include "io/text_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "io/file.h"
#include "support/lines_support.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::TempDir;

using testing::allLines;
using testing::linesOf;

std::vector<std::uint8_t> utf16le(std::u16string_view text, bool bom) {
  std::vector<std::uint8_t> bytes;
  if (bom) bytes = {0xFF, 0xFE};
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

TEST(TextLinesFiles, LoneSurrogatesBecomeReplacementCharacters) {
  const struct {
    std::u16string line;
    std::u16string written;
  } cases[] = {
      {u"caf\xDCE9", u"caf\xFFFD"},
      {u"\xD83C\xDFB5", u"\xD83C\xDFB5"},
      {u"\xDFB5\xD83C", u"\xFFFD\xFFFD"},
      {u"a\xD83C", u"a\xFFFD"},
      {u"\xD83C"
       u"b",
       u"\xFFFD"
       u"b"},
      {u"\xD83C\xD83C\xDFB5", u"\xFFFD\xD83C\xDFB5"},
  };
  for (const auto& [line, written] : cases) {
    TextLines lines;
    lines.appendLine(line);
    EXPECT_EQ(encodeTextFile(lines, TextFileEncoding::Utf16), utf16le(written, false));
  }
}

TEST(TextLinesFiles, UnicodeRoundTripKeepsCrLfAndMark) {
  TempDir dir;
  const auto source = dir.file("template.html");
  const auto bytes = utf16le(u"<html>\r\n<b>\u00E9\U0001F3B5</b>\r\n</html>", true);
  ASSERT_TRUE(writeWholeFile(source, bytes));

  TextLines lines;
  ASSERT_EQ(loadTextFile(lines, source, true), 1);
  EXPECT_TRUE(lines.isUnicode());
  EXPECT_EQ(lines.lineCount(), 3u);
  const auto copy = dir.file("page.html");
  ASSERT_EQ(saveTextFile(lines, copy), 1);
  EXPECT_EQ(readWholeFile(copy), bytes);  // no line end after the last line
}

TEST(TextLinesFiles, UnicodeLoadNeedsMarkAndStopsAtFFFF) {
  TempDir dir;
  const auto noMark = dir.file("plain.html");
  ASSERT_TRUE(writeWholeFile(noMark, utf16le(u"abc", false)));
  TextLines lines;
  EXPECT_EQ(loadTextFile(lines, noMark, true), 1);
  EXPECT_EQ(lines.lineCount(), 0u);
  EXPECT_FALSE(lines.isUnicode());

  const auto stopped = dir.file("stopped.html");
  auto bytes = utf16le(u"ab\uFFFFcd", true);
  bytes.push_back(0x41);  // odd last byte is dropped
  ASSERT_TRUE(writeWholeFile(stopped, bytes));
  ASSERT_EQ(loadTextFile(lines, stopped, true), 1);
  EXPECT_EQ(allLines(lines), std::vector<std::u16string>{u"ab"});
}

TEST(TextLinesFiles, EightBitLoadAndSaveWithoutMark) {
  TempDir dir;
  const auto source = dir.file("pledit.txt");
  ASSERT_TRUE(writeWholeFile(source, std::vector<std::uint8_t>{'a', 0xE9, '\n', 'b'}));
  TextLines lines;
  ASSERT_EQ(loadTextFile(lines, source, false), 1);
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"a\u00E9", u"b"}));
  EXPECT_FALSE(lines.isUnicode());
  const auto copy = dir.file("copy.txt");
  ASSERT_EQ(saveTextFile(lines, copy), 1);
  EXPECT_EQ(readWholeFile(copy), (std::vector<std::uint8_t>{'a', 0, 0xE9, 0, '\n', 0, 'b', 0}));
}

TEST(TextLinesFiles, TrailingLineFeedAndEmptyBuffer) {
  TempDir dir;
  TextLines lines = linesOf(u"x\n");
  lines.setUnicode(true);
  const auto path = dir.file("out.html");
  ASSERT_EQ(saveTextFile(lines, path), 1);
  EXPECT_EQ(readWholeFile(path), (std::vector<std::uint8_t>{0xFF, 0xFE, 'x', 0, '\n', 0}));
  ASSERT_EQ(saveTextFile(TextLines(), path), 1);
  EXPECT_EQ(readWholeFile(path), std::vector<std::uint8_t>{});
}

TEST(TextLinesFiles, FailuresGiveMinusOne) {
  TempDir dir;
  TextLines lines = linesOf(u"keep");
  EXPECT_EQ(loadTextFile(lines, dir.file("missing.html"), true), -1);
  EXPECT_EQ(lines.lineCount(), 0u);
  EXPECT_EQ(loadTextFile(lines, testing::toU16(dir.path()), false), -1);  // a directory
  EXPECT_EQ(saveTextFile(lines, dir.file("no/such/folder.html")), -1);
}

TEST(TextLinesResources, BuiltInPageLoadsBytewise) {
  TextLines page;
  ASSERT_TRUE(loadTextResource(page, nullptr, 128));
  EXPECT_GE(page.findLine(u"[No supported files found]"), 0);
  EXPECT_GE(page.findLine(u"<$clnormalbg$>"), 0);
  EXPECT_FALSE(page.isUnicode());
  EXPECT_FALSE(loadTextResource(page, nullptr, 9999));
  EXPECT_EQ(page.lineCount(), 0u);
}

}  // namespace
}  // namespace tunora
