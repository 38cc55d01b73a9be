#pragma once
// Just enough JSON for the tool's output: UTF-8, with unpaired surrogates and
// control characters written as \u escapes.

#include <string>
#include <string_view>

namespace tunora {

std::string jsonString(std::u16string_view text);

}  // namespace tunora
