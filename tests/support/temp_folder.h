#pragma once
// Points the process's temporary folder somewhere else for a while, so that a
// test can see which temporary files the code leaves behind.

#include <filesystem>
#include <optional>
#include <string>

namespace tunora::testing {

class TempFolderOverride {
 public:
  explicit TempFolderOverride(const std::filesystem::path& folder);
  ~TempFolderOverride();
  TempFolderOverride(const TempFolderOverride&) = delete;
  TempFolderOverride& operator=(const TempFolderOverride&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace tunora::testing
