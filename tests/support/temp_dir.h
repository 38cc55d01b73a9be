#pragma once
// A folder of its own for one test, removed with everything in it afterwards.

#include <filesystem>
#include <string>

namespace tunora::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A path inside the folder as 16-bit text, the form the core takes.
  std::u16string file(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Fixture and source paths as 16-bit text.
std::u16string fixturePath(const std::string& relative);
std::u16string toU16(const std::filesystem::path& path);

}  // namespace tunora::testing
