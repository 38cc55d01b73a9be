#pragma once
// The player is an 8-bit program: the file names, titles, skin folder and
// file information it hands over are in the system's ANSI code page, and so
// must be what we hand to it. Widening such text byte by byte would turn
// "’" (0x92 in Western code pages) into a control character and make the
// file unopenable.

#include <string>
#include <string_view>

namespace tunora::host {

// 8-bit text in the ANSI code page to 16-bit text; the first NUL ends it.
std::u16string ansiToWide(std::string_view text);

// 16-bit text to the ANSI code page; a character the code page lacks becomes
// "?". The first NUL ends the text.
std::string wideToAnsi(std::u16string_view text);

}  // namespace tunora::host
