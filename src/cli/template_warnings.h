#pragma once
// A template of one's own fails silently where the page is built: a comment
// that is never closed, a token split over lines or misspelt. The tool looks
// for these first and says where they are.

#include <cstdio>
#include <string>
#include <vector>

#include "text/text_lines.h"

namespace tunora {

// One text per problem, each starting with "line N: ".
std::vector<std::string> templateWarnings(const TextLines& lines);

// The template of --template before any page is built: 0 when it can be used
// (its warnings written to `err`, bytes that are not UTF-8 among them), else
// the status to end with (2 when it cannot be opened, 1 when it is neither
// UTF-8 nor UTF-16LE with a byte-order mark), the reason written to `err`.
int checkTemplateOption(const std::u16string& path, std::FILE* err);

}  // namespace tunora
