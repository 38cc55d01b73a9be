#pragma once
// The one text container of the system: an ordered list of 16-bit lines that
// holds templates, pages under construction, comments, lyrics and skin files.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// Opaque module handle for embedded resources (an HMODULE on Windows; unused
// elsewhere, where the pages are compiled into the binary).
using ModuleHandle = void*;

class TextLines {
 public:
  // LF starts a new line and is not stored; every other unit (CR and NUL
  // included) goes to the last line. A stored NUL ends the line's visible text.
  void appendUnit(char16_t unit);
  // Clears, then reads the file: in Unicode mode only a file that starts with
  // the little-endian byte-order mark gives lines (and sets the Unicode flag),
  // read up to the end or the first unit 0xFFFF; in 8-bit mode each byte is one
  // unit. 1 on success, -1 when the file cannot be opened or read.
  int loadFile(std::u16string_view path, bool unicode);
  // Clears, then appends each byte of the HTML resource (type 23) of that number.
  bool loadResource(ModuleHandle module, int number);
  // Writes the lines as UTF-16LE separated by LF, with a byte-order mark when
  // the Unicode flag is set; nothing after the last line. 1 or -1.
  int save(std::u16string_view path) const;

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
  void appendLine(std::u16string text) { lines_.push_back(std::move(text)); }
  void clear() { lines_.clear(); }
  void setUnicode(bool unicode) { unicode_ = unicode; }
  bool isUnicode() const { return unicode_; }
  // Lines to the debug log, indented by n blanks.
  void dump(int indentation) const;

 private:
  std::vector<std::u16string> lines_;
  bool unicode_ = false;
};

}  // namespace tunora
