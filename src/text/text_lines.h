#pragma once
// The one text container of the system: an ordered list of 16-bit lines that
// holds templates, pages under construction, comments, lyrics and skin files.
// Reading and writing them as files is io/text_file.h.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

class TextLines {
 public:
  // LF starts a new line and is not stored; every other unit (CR and NUL
  // included) goes to the last line. A stored NUL ends the line's visible text.
  void appendUnit(char16_t unit);
  // The same for every unit of the text, a run at a time.
  void appendText(std::u16string_view text);
  std::size_t lineCount() const { return lines_.size(); }
  // The visible text of a line (up to its first NUL), or nothing past the end.
  std::optional<std::u16string_view> line(std::size_t index) const;
  // First line at or after `start` that contains the token, or -1.
  int findLine(std::u16string_view token, std::size_t start = 0) const;
  // All occurrences in all lines, or only the first occurrence in the first
  // line that has one. Inserted values are never searched again.
  int replaceAll(std::u16string_view token, std::u16string_view value, bool all = true);
  // Empties lines first..last (last clamped); the line count stays.
  void clearLines(std::size_t first, std::size_t last);
  // Empties every block from a line with the begin marker through the next
  // line with the end marker (or to the end); an end marker without a begin
  // empties everything before it.
  void removeBlocks(std::u16string_view beginMarker, std::u16string_view endMarker);
  // Each line up to its first CR or LF, followed by "<br>".
  std::u16string joinWithBreaks() const;

  void assign(const TextLines& other);
  void appendLines(const TextLines& other);
  void assignRange(const TextLines& other, std::size_t first, std::size_t last);
  void appendLine(std::u16string_view text);
  void clear() {
    units_.clear();
    lines_.clear();
  }
  void setUnicode(bool unicode) { unicode_ = unicode; }
  bool isUnicode() const { return unicode_; }

 private:
  // Where a line's units are in units_.
  struct Line {
    std::size_t start = 0;
    std::size_t size = 0;
  };
  // A line's units, NULs and all.
  std::u16string_view whole(const Line& line) const {
    return std::u16string_view(units_).substr(line.start, line.size);
  }
  // The last line, moved to the end of units_ if it is not there, so that
  // it grows in place.
  Line& openLastLine();
  void pushLine(std::u16string_view text);

  // Every line's units, one line after another, in one string: a comment or
  // a template takes one allocation, not one a line. A line that changes is
  // written anew at the end; what it held before stays unused.
  std::u16string units_;
  std::vector<Line> lines_;
  bool unicode_ = false;
};

}  // namespace tunora
