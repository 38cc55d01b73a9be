#pragma once
// Line buffers from 16-bit text and back, for the tests of the buffer and
// of its files.

#include <string>
#include <string_view>
#include <vector>

#include "text/text_lines.h"

namespace tunora::testing {

// Lines separated by "\n", appended unit by unit as a file's are.
inline TextLines linesOf(std::u16string_view text) {
  TextLines lines;
  for (const char16_t unit : text) lines.appendUnit(unit);
  return lines;
}

inline std::vector<std::u16string> allLines(const TextLines& lines) {
  std::vector<std::u16string> result;
  for (std::size_t i = 0; i < lines.lineCount(); ++i) result.emplace_back(*lines.line(i));
  return result;
}

}  // namespace tunora::testing
