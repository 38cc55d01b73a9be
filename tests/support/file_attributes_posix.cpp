#include "support/file_attributes.h"

namespace tunora::testing {

bool markWithOtherAttribute(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove, error);
  return !error;
}

void clearOtherAttribute(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, error);
}

}  // namespace tunora::testing
