#pragma once
// The parts of a path as the player's names have them, on 8-bit and 16-bit
// paths alike. A backslash wins over a slash: only a path without any
// backslash is split at its last slash.

#include <string>
#include <string_view>

namespace tunora {

std::string fileNameOf(std::string_view path);
std::u16string fileNameOf(std::u16string_view path);
// Up to and including the last separator; the whole path if it has none.
std::string folderOf(std::string_view path);
std::u16string folderOf(std::u16string_view path);
// After the last "." anywhere in the path, upper-cased (ASCII); "Unknown"
// when the path has no ".".
std::string extensionOf(std::string_view path);
std::u16string extensionOf(std::u16string_view path);

}  // namespace tunora
