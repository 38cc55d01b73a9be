#pragma once
// TextLines to and from files and resources: templates and skin files are
// read into lines, pages are written from them.

#include <cstdint>
#include <string_view>
#include <vector>

#include "io/resources.h"
#include "text/text_lines.h"

namespace tunora {

// Clears, then reads the file. Unicode mode (templates) reads UTF-16LE with a
// byte-order mark up to the end or the first unit 0xFFFF, and UTF-8 with or
// without a mark (ill-formed bytes shown as U+FFFD), and sets the Unicode
// flag; any other file gives no lines. In 8-bit mode each byte is one unit.
// 1 on success, -1 when the file cannot be opened or read.
int loadTextFile(TextLines& lines, std::u16string_view path, bool unicode);

// Clears, then appends each byte of the HTML resource (type 23) of that number.
bool loadTextResource(TextLines& lines, ModuleHandle module, int number);

// Writes the lines separated by LF, nothing after the last line: as UTF-16LE
// with a byte-order mark when the Unicode flag is set, or as UTF-8 without
// one (what tools that read text and web servers expect). 1 or -1.
// The file takes the place of the old one only when complete.
enum class TextFileEncoding { Utf16, Utf8 };
std::vector<std::uint8_t> encodeTextFile(const TextLines& lines, TextFileEncoding encoding);
int saveTextFile(const TextLines& lines, std::u16string_view path,
                 TextFileEncoding encoding = TextFileEncoding::Utf16);

}  // namespace tunora
