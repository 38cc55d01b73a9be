#include "text/text_lines.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"
#include "text/file.h"

namespace tunora {
namespace {

using testing::TempDir;

TextLines linesOf(std::u16string_view text) {
  TextLines lines;
  for (const char16_t unit : text) lines.appendUnit(unit);
  return lines;
}

std::vector<std::u16string> allLines(const TextLines& lines) {
  std::vector<std::u16string> result;
  for (std::size_t i = 0; i < lines.lineCount(); ++i) result.emplace_back(*lines.line(i));
  return result;
}

std::vector<std::uint8_t> utf16le(std::u16string_view text, bool bom) {
  std::vector<std::uint8_t> bytes;
  if (bom) bytes = {0xFF, 0xFE};
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

TEST(TextLinesAppend, LineFeedStartsLinesAndNulHidesTheRest) {
  TextLines lines = linesOf(u"one\r\ntwo\n");
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"one\r", u"two", u""}));
  lines.appendUnit(0);
  lines.appendUnit(u'x');
  EXPECT_EQ(*lines.line(2), u"");
  EXPECT_FALSE(lines.line(3));
  EXPECT_EQ(TextLines().lineCount(), 0u);
}

TEST(TextLinesFiles, UnicodeRoundTripKeepsCrLfAndMark) {
  TempDir dir;
  const auto source = dir.file("template.html");
  const auto bytes = utf16le(u"<html>\r\n<b>\u00E9\U0001F3B5</b>\r\n</html>", true);
  ASSERT_TRUE(writeWholeFile(source, bytes));

  TextLines lines;
  ASSERT_EQ(lines.loadFile(source, true), 1);
  EXPECT_TRUE(lines.isUnicode());
  EXPECT_EQ(lines.lineCount(), 3u);
  const auto copy = dir.file("page.html");
  ASSERT_EQ(lines.save(copy), 1);
  EXPECT_EQ(readWholeFile(copy), bytes);  // no line end after the last line
}

TEST(TextLinesFiles, UnicodeLoadNeedsMarkAndStopsAtFFFF) {
  TempDir dir;
  const auto noMark = dir.file("plain.html");
  ASSERT_TRUE(writeWholeFile(noMark, utf16le(u"abc", false)));
  TextLines lines;
  EXPECT_EQ(lines.loadFile(noMark, true), 1);
  EXPECT_EQ(lines.lineCount(), 0u);
  EXPECT_FALSE(lines.isUnicode());

  const auto stopped = dir.file("stopped.html");
  auto bytes = utf16le(u"ab\uFFFFcd", true);
  bytes.push_back(0x41);  // odd last byte is dropped
  ASSERT_TRUE(writeWholeFile(stopped, bytes));
  ASSERT_EQ(lines.loadFile(stopped, true), 1);
  EXPECT_EQ(allLines(lines), std::vector<std::u16string>{u"ab"});
}

TEST(TextLinesFiles, EightBitLoadAndSaveWithoutMark) {
  TempDir dir;
  const auto source = dir.file("pledit.txt");
  ASSERT_TRUE(writeWholeFile(source, std::vector<std::uint8_t>{'a', 0xE9, '\n', 'b'}));
  TextLines lines;
  ASSERT_EQ(lines.loadFile(source, false), 1);
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"a\u00E9", u"b"}));
  EXPECT_FALSE(lines.isUnicode());
  const auto copy = dir.file("copy.txt");
  ASSERT_EQ(lines.save(copy), 1);
  EXPECT_EQ(readWholeFile(copy), (std::vector<std::uint8_t>{'a', 0, 0xE9, 0, '\n', 0, 'b', 0}));
}

TEST(TextLinesFiles, TrailingLineFeedAndEmptyBuffer) {
  TempDir dir;
  TextLines lines = linesOf(u"x\n");
  lines.setUnicode(true);
  const auto path = dir.file("out.html");
  ASSERT_EQ(lines.save(path), 1);
  EXPECT_EQ(readWholeFile(path), (std::vector<std::uint8_t>{0xFF, 0xFE, 'x', 0, '\n', 0}));
  ASSERT_EQ(TextLines().save(path), 1);
  EXPECT_EQ(readWholeFile(path), std::vector<std::uint8_t>{});
}

TEST(TextLinesFiles, FailuresGiveMinusOne) {
  TempDir dir;
  TextLines lines = linesOf(u"keep");
  EXPECT_EQ(lines.loadFile(dir.file("missing.html"), true), -1);
  EXPECT_EQ(lines.lineCount(), 0u);
  EXPECT_EQ(lines.loadFile(testing::toU16(dir.path()), false), -1);  // a directory
  EXPECT_EQ(lines.save(dir.file("no/such/folder.html")), -1);
}

TEST(TextLinesReplace, ValueContainingTokenIsInsertedOnce) {
  TextLines lines = linesOf(u"<$album$> and <$album$>\n<$album$>");
  EXPECT_EQ(lines.replaceAll(u"<$album$>", u"[<$album$>]", true), 3);
  EXPECT_EQ(allLines(lines),
            (std::vector<std::u16string>{u"[<$album$>] and [<$album$>]", u"[<$album$>]"}));
}

TEST(TextLinesReplace, FirstOnlyAndEmptyToken) {
  TextLines lines = linesOf(u"no\nab ab\nab");
  EXPECT_EQ(lines.replaceAll(u"ab", u"X", false), 1);
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"no", u"X ab", u"ab"}));
  EXPECT_EQ(lines.replaceAll(u"", u"X", true), 0);
  EXPECT_EQ(lines.replaceAll(u"ab", u"", true), 2);
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"no", u"X ", u""}));
}

TEST(TextLinesSearch, FindLineAndClearLinesKeepCount) {
  TextLines lines = linesOf(u"a\nTOKEN\nb\nTOKEN");
  EXPECT_EQ(lines.findLine(u"TOKEN"), 1);
  EXPECT_EQ(lines.findLine(u"TOKEN", 2), 3);
  EXPECT_EQ(lines.findLine(u"TOKEN", 4), -1);
  EXPECT_EQ(lines.findLine(u"TOKEN", 99), -1);
  lines.clearLines(1, 99);
  EXPECT_EQ(lines.lineCount(), 4u);
  EXPECT_EQ(lines.findLine(u"TOKEN"), -1);
  lines.clearLines(7, 9);  // past the end: nothing
  EXPECT_EQ(*lines.line(0), u"a");
}

TEST(TextLinesBlocks, RemoveBlocksClearsEveryBlockAndKeepsCount) {
  TextLines lines = linesOf(u"keep1\n<!--\nhidden\n-->\nkeep2\n<!-- one line -->\nkeep3");
  lines.removeBlocks(u"<!--", u"-->");
  EXPECT_EQ(allLines(lines),
            (std::vector<std::u16string>{u"keep1", u"", u"", u"", u"keep2", u"", u"keep3"}));
}

TEST(TextLinesBlocks, UnclosedBeginClearsToEndAndLoneEndClearsFromStart) {
  TextLines open = linesOf(u"a\n<!--\nb\nc");
  open.removeBlocks(u"<!--", u"-->");
  EXPECT_EQ(allLines(open), (std::vector<std::u16string>{u"a", u"", u"", u""}));

  TextLines lone = linesOf(u"a\nb -->\nc");
  lone.removeBlocks(u"<!--", u"-->");
  EXPECT_EQ(allLines(lone), (std::vector<std::u16string>{u"", u"", u"c"}));
}

TEST(TextLinesJoin, BreaksAfterEveryLineCutAtLineEnd) {
  EXPECT_EQ(linesOf(u"one\r\ntwo").joinWithBreaks(), u"one<br>two<br>");
  EXPECT_EQ(linesOf(u"x\n").joinWithBreaks(), u"x<br><br>");
  EXPECT_EQ(TextLines().joinWithBreaks(), u"");
}

TEST(TextLinesCopy, AssignAppendAndRanges) {
  TextLines source = linesOf(u"0\n1\n2\n3");
  source.setUnicode(true);
  TextLines target = linesOf(u"old");
  target.assignRange(source, 1, 99);
  EXPECT_EQ(allLines(target), (std::vector<std::u16string>{u"1", u"2", u"3"}));
  EXPECT_TRUE(target.isUnicode());
  target.assignRange(source, 9, 10);
  EXPECT_EQ(target.lineCount(), 0u);
  target.assign(source);
  target.appendLines(target);
  EXPECT_EQ(target.lineCount(), 8u);
  target.clear();
  EXPECT_TRUE(target.isUnicode());
}

TEST(TextLinesResources, BuiltInPageLoadsBytewise) {
  TextLines page;
  ASSERT_TRUE(page.loadResource(nullptr, 128));
  EXPECT_GE(page.findLine(u"[No supported files found]"), 0);
  EXPECT_GE(page.findLine(u"<$clnormalbg$>"), 0);
  EXPECT_FALSE(page.isUnicode());
  EXPECT_FALSE(page.loadResource(nullptr, 9999));
  EXPECT_EQ(page.lineCount(), 0u);
}

}  // namespace
}  // namespace tunora
