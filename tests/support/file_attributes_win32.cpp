#include <windows.h>

#include "support/file_attributes.h"

namespace tunora::testing {

bool markWithOtherAttribute(const std::filesystem::path& path) {
  return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN) &&
         GetFileAttributesW(path.c_str()) != FILE_ATTRIBUTE_DIRECTORY;
}

void clearOtherAttribute(const std::filesystem::path& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tunora::testing
