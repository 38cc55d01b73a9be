#pragma once
// Gives a folder an attribute besides "directory", for the tests of the
// plain-folder check: read-only on POSIX, hidden on Windows (Wine keeps no
// read-only bit on folders).

#include <filesystem>

namespace tunora::testing {

bool markWithOtherAttribute(const std::filesystem::path& path);
void clearOtherAttribute(const std::filesystem::path& path);

}  // namespace tunora::testing
