#include <windows.h>

#include "support/temp_folder.h"

namespace tunora::testing {

// GetTempPath reads TMP first.
TempFolderOverride::TempFolderOverride(const std::filesystem::path& folder) {
  char previous[MAX_PATH + 1];
  const DWORD length = GetEnvironmentVariableA("TMP", previous, sizeof previous);
  if (length > 0 && length < sizeof previous) previous_ = std::string(previous, length);
  SetEnvironmentVariableA("TMP", folder.string().c_str());
}

TempFolderOverride::~TempFolderOverride() {
  SetEnvironmentVariableA("TMP", previous_ ? previous_->c_str() : nullptr);
}

}  // namespace tunora::testing
