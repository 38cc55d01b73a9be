#pragma once
// A template of one's own fails silently where the page is built: a comment
// that is never closed, a token split over lines or misspelt. The tool looks
// for these first and says where they are.

#include <string>
#include <vector>

#include "text/text_lines.h"

namespace tunora {

// One text per problem, each starting with "line N: ".
std::vector<std::string> templateWarnings(const TextLines& lines);

}  // namespace tunora
