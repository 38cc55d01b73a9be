#include "text/text_lines.h"

#include <algorithm>

#include "text/conversions.h"
#include "text/debug_log.h"
#include "text/text_edits.h"
#include "text/unit_blocks.h"

namespace tunora {
namespace {

// Replaces in the visible part only; a hidden tail after a NUL is kept as is.
int replaceInLine(std::u16string& line, std::u16string_view token, std::u16string_view value,
                  bool all) {
  const std::size_t visibleLength = untilNul(std::u16string_view(line)).size();
  if (visibleLength == line.size()) return replaceText(line, token, value, all);
  std::u16string head = line.substr(0, visibleLength);
  const int count = replaceText(head, token, value, all);
  if (count > 0) line = head + line.substr(visibleLength);
  return count;
}

}  // namespace

TextLines::Line& TextLines::openLastLine() {
  if (lines_.empty()) lines_.push_back({units_.size(), 0});
  Line& last = lines_.back();
  if (last.start + last.size != units_.size()) {
    const std::u16string moved(whole(last));
    last.start = units_.size();
    units_ += moved;
  }
  return last;
}

void TextLines::pushLine(std::u16string_view text) {
  lines_.push_back({units_.size(), text.size()});
  units_ += text;
}

void TextLines::appendUnit(char16_t unit) {
  if (unit == u'\n') {
    if (lines_.empty()) lines_.push_back({units_.size(), 0});
    lines_.push_back({units_.size(), 0});
    return;
  }
  Line& last = openLastLine();
  units_.push_back(unit);
  ++last.size;
}

void TextLines::appendText(std::u16string_view text) {
  // A comment or lyrics usually comes in one piece of a dozen lines or more.
  if (units_.empty()) units_.reserve(text.size());
  if (lines_.empty()) lines_.reserve(16);
  std::size_t end = unit_blocks::findUnit(text, u'\n');
  const std::u16string_view first = text.substr(0, end);
  openLastLine().size += first.size();
  units_ += first;
  while (end != text.npos) {
    text.remove_prefix(end + 1);
    end = unit_blocks::findUnit(text, u'\n');
    pushLine(text.substr(0, end));
  }
}

void TextLines::appendLine(std::u16string_view text) {
  pushLine(text);
}

std::optional<std::u16string_view> TextLines::line(std::size_t index) const {
  if (index >= lines_.size()) return std::nullopt;
  return untilNul(whole(lines_[index]));
}

int TextLines::findLine(std::u16string_view token, std::size_t start) const {
  for (std::size_t i = start; i < lines_.size(); ++i)
    if (unit_blocks::findText(untilNul(whole(lines_[i])), token) != std::u16string_view::npos)
      return static_cast<int>(i);
  return -1;
}

int TextLines::replaceAll(std::u16string_view token, std::u16string_view value, bool all) {
  if (token.empty()) return 0;
  int count = 0;
  for (Line& line : lines_) {
    // Most lines hold most tokens nowhere, hidden tail or not.
    if (unit_blocks::findText(whole(line), token) == std::u16string_view::npos) continue;
    std::u16string text(whole(line));
    const int replaced = replaceInLine(text, token, value, all);
    if (replaced == 0) continue;
    line = {units_.size(), text.size()};
    units_ += text;
    count += replaced;
    if (!all) break;
  }
  return count;
}

void TextLines::clearLines(std::size_t first, std::size_t last) {
  if (first >= lines_.size()) return;
  last = std::min(last, lines_.size() - 1);
  for (std::size_t i = first; i <= last; ++i) lines_[i].size = 0;
}

void TextLines::removeBlocks(std::u16string_view beginMarker, std::u16string_view endMarker) {
  // Each pass empties the block it found, so the next pass finds the next one;
  // `from` only skips lines that are known to hold no begin marker any more.
  std::size_t from = 0;
  while (true) {
    const int begin = findLine(beginMarker, from);
    if (begin < 0) break;
    const int end = findLine(endMarker, static_cast<std::size_t>(begin));
    if (end < 0) {
      clearLines(static_cast<std::size_t>(begin), lines_.size());
      return;
    }
    clearLines(static_cast<std::size_t>(begin), static_cast<std::size_t>(end));
    from = static_cast<std::size_t>(end);
  }
  const int end = findLine(endMarker, 0);
  if (end >= 0) clearLines(0, static_cast<std::size_t>(end));
}

std::u16string TextLines::joinWithBreaks() const {
  std::u16string joined;
  for (const Line& line : lines_) {
    const auto text = untilNul(whole(line));
    joined.append(text.substr(0, text.find_first_of(u"\r\n")));
    joined.append(u"<br>");
  }
  return joined;
}

void TextLines::assign(const TextLines& other) {
  if (this != &other) *this = other;
}

void TextLines::appendLines(const TextLines& other) {
  if (this == &other) {
    const TextLines copy = other;
    return appendLines(copy);
  }
  for (const Line& line : other.lines_) pushLine(other.whole(line));
  unicode_ = other.unicode_;
}

void TextLines::assignRange(const TextLines& other, std::size_t first, std::size_t last) {
  TextLines range;
  if (first < other.lines_.size()) {
    last = std::min(last, other.lines_.size() - 1);
    for (std::size_t i = first; i <= last; ++i) range.pushLine(other.whole(other.lines_[i]));
  }
  range.unicode_ = other.unicode_;
  *this = std::move(range);
}

}  // namespace tunora
