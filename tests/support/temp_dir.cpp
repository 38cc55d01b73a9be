#include "support/temp_dir.h"

#include <atomic>
#include <random>

#include "io/file.h"

namespace tunora::testing {

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device seed;
  path_ = std::filesystem::temp_directory_path() /
          ("tunora-test-" + std::to_string(seed()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

// Through the file seam, so that a name that is no UTF-8 survives as well.
std::u16string toU16(const std::filesystem::path& path) {
  return fromFsPath(path);
}

std::u16string TempDir::file(const std::string& name) const {
  return toU16(path_ / std::filesystem::path(std::u8string(name.begin(), name.end())));
}

std::u16string fixturePath(const std::string& relative) {
  return toU16(std::filesystem::path(TUNORA_FIXTURES_DIR) / relative);
}

}  // namespace tunora::testing
