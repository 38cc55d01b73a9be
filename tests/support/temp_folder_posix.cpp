#include <cstdlib>

#include "support/temp_folder.h"

namespace tunora::testing {

TempFolderOverride::TempFolderOverride(const std::filesystem::path& folder) {
  if (const char* previous = std::getenv("TMPDIR")) previous_ = previous;
  ::setenv("TMPDIR", folder.c_str(), 1);
}

TempFolderOverride::~TempFolderOverride() {
  if (previous_)
    ::setenv("TMPDIR", previous_->c_str(), 1);
  else
    ::unsetenv("TMPDIR");
}

}  // namespace tunora::testing
