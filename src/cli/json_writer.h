#pragma once
// Just enough JSON for the tool's output: UTF-8, with unpaired surrogates and
// control characters written as \u escapes.

#include <string>
#include <string_view>

namespace tunora {

// Appends the text as a quoted JSON string, converted and escaped in one pass.
void appendJsonString(std::string& out, std::u16string_view text);
// The same without the quotes, for a string written in parts.
void appendJsonText(std::string& out, std::u16string_view text);
std::string jsonString(std::u16string_view text);

}  // namespace tunora
