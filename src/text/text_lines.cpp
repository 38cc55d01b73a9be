#include "text/text_lines.h"

#include <algorithm>

#include "text/conversions.h"
#include "text/debug_log.h"
#include "text/text_edits.h"
#include "text/unit_blocks.h"

namespace tunora {
namespace {

std::u16string_view visible(const std::u16string& line) {
  return untilNul(std::u16string_view(line));
}

// Replaces in the visible part only; a hidden tail after a NUL is kept as is.
int replaceInLine(std::u16string& line, std::u16string_view token, std::u16string_view value,
                  bool all) {
  // Most lines hold most tokens nowhere, hidden tail or not.
  if (unit_blocks::findText(line, token) == std::u16string::npos) return 0;
  const std::size_t visibleLength = visible(line).size();
  if (visibleLength == line.size()) return replaceText(line, token, value, all);
  std::u16string head = line.substr(0, visibleLength);
  const int count = replaceText(head, token, value, all);
  if (count > 0) line = head + line.substr(visibleLength);
  return count;
}

}  // namespace

void TextLines::appendUnit(char16_t unit) {
  if (lines_.empty()) lines_.emplace_back();
  if (unit == u'\n')
    lines_.emplace_back();
  else
    lines_.back().push_back(unit);
}

void TextLines::appendText(std::u16string_view text) {
  if (lines_.empty()) lines_.emplace_back();
  // Each new line is made from its text in one go.
  std::size_t end = unit_blocks::findUnit(text, u'\n');
  lines_.back().append(text.substr(0, end));
  while (end != text.npos) {
    text.remove_prefix(end + 1);
    end = unit_blocks::findUnit(text, u'\n');
    lines_.emplace_back(text.substr(0, end));
  }
}

std::optional<std::u16string_view> TextLines::line(std::size_t index) const {
  if (index >= lines_.size()) return std::nullopt;
  return visible(lines_[index]);
}

int TextLines::findLine(std::u16string_view token, std::size_t start) const {
  for (std::size_t i = start; i < lines_.size(); ++i)
    if (unit_blocks::findText(visible(lines_[i]), token) != std::u16string_view::npos)
      return static_cast<int>(i);
  return -1;
}

int TextLines::replaceAll(std::u16string_view token, std::u16string_view value, bool all) {
  if (token.empty()) return 0;
  int count = 0;
  for (auto& line : lines_) {
    count += replaceInLine(line, token, value, all);
    if (!all && count > 0) break;
  }
  return count;
}

void TextLines::clearLines(std::size_t first, std::size_t last) {
  if (first >= lines_.size()) return;
  last = std::min(last, lines_.size() - 1);
  for (std::size_t i = first; i <= last; ++i) lines_[i].clear();
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
  for (const auto& line : lines_) {
    const auto text = visible(line);
    joined.append(text.substr(0, text.find_first_of(u"\r\n")));
    joined.append(u"<br>");
  }
  return joined;
}

void TextLines::assign(const TextLines& other) {
  if (this == &other) return;
  lines_ = other.lines_;
  unicode_ = other.unicode_;
}

void TextLines::appendLines(const TextLines& other) {
  if (this == &other) {
    const auto copy = other.lines_;
    lines_.insert(lines_.end(), copy.begin(), copy.end());
  } else {
    lines_.insert(lines_.end(), other.lines_.begin(), other.lines_.end());
  }
  unicode_ = other.unicode_;
}

void TextLines::assignRange(const TextLines& other, std::size_t first, std::size_t last) {
  std::vector<std::u16string> range;
  if (first < other.lines_.size()) {
    last = std::min(last, other.lines_.size() - 1);
    if (first <= last)
      range.assign(other.lines_.begin() + static_cast<std::ptrdiff_t>(first),
                   other.lines_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
  }
  lines_ = std::move(range);
  unicode_ = other.unicode_;
}

}  // namespace tunora
