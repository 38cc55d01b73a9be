#pragma once
// The command line as the parser reads it: 8-bit text. Linux hands the tool
// the bytes of each argument, and they stay as they are; Windows hands it
// 16-bit text, which becomes UTF-8 once, at the start. A lone surrogate, which
// a Windows file name may hold, is written as its own three bytes there, so
// that every name given comes back exactly.

#include <string>
#include <string_view>

namespace tunora {

std::string argumentFromText(std::u16string_view text);
std::u16string textOfArgument(std::string_view argument);

}  // namespace tunora
