#pragma once
// Makes a folder one that is not ours to delete files in, for the tests of
// the plain-folder check: read-only on POSIX; on Windows nothing can (see
// file_attributes_win32.cpp), and the mark fails.

#include <filesystem>

namespace tunora::testing {

bool markWithOtherAttribute(const std::filesystem::path& path);
void clearOtherAttribute(const std::filesystem::path& path);

}  // namespace tunora::testing
