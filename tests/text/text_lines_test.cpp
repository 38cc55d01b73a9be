#include "text/text_lines.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/lines_support.h"

namespace tunora {
namespace {

using testing::allLines;
using testing::linesOf;

TEST(TextLinesAppend, LineFeedStartsLinesAndNulHidesTheRest) {
  TextLines lines = linesOf(u"one\r\ntwo\n");
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"one\r", u"two", u""}));
  lines.appendUnit(0);
  lines.appendUnit(u'x');
  EXPECT_EQ(*lines.line(2), u"");
  EXPECT_FALSE(lines.line(3));
  EXPECT_EQ(TextLines().lineCount(), 0u);
}

TEST(TextLinesAppend, TextInRunsEqualsUnitByUnit) {
  // Line feeds at either end, two in a row, and a text without any.
  for (const std::u16string_view text :
       {u"", u"\n", u"\nab\n\ncd\n", u"plain", u"a\0b\nc", u"\r\n\r\n"}) {
    TextLines units;
    TextLines runs;
    units.appendUnit(u'x');
    runs.appendUnit(u'x');
    for (const char16_t unit : text) units.appendUnit(unit);
    runs.appendText(text);
    EXPECT_EQ(allLines(runs), allLines(units)) << text.size();
  }
  TextLines fresh;
  fresh.appendText(u"");
  EXPECT_EQ(fresh.lineCount(), 1u);
}

TEST(TextLinesReplace, ValueContainingTokenIsInsertedOnce) {
  TextLines lines = linesOf(u"<$album$> and <$album$>\n<$album$>");
  EXPECT_EQ(lines.replaceAll(u"<$album$>", u"[<$album$>]", true), 3);
  EXPECT_EQ(allLines(lines),
            (std::vector<std::u16string>{u"[<$album$>] and [<$album$>]", u"[<$album$>]"}));
}

// A line changed by a replacement or emptied is stored anew: text appended
// afterwards still goes to the end of the last line, and the other lines
// keep theirs.
TEST(TextLinesReplace, ChangedLastLineGrowsWhereItNowIs) {
  TextLines lines = linesOf(u"a<$x$>\nb<$x$>");
  EXPECT_EQ(lines.replaceAll(u"<$x$>", u"12345678"), 2);
  lines.appendText(u"c\nd");
  lines.appendUnit(u'e');
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"a12345678", u"b12345678c", u"de"}));
  lines.clearLines(2, 2);
  lines.appendText(u"f");
  EXPECT_EQ(allLines(lines), (std::vector<std::u16string>{u"a12345678", u"b12345678c", u"f"}));
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

}  // namespace
}  // namespace tunora
