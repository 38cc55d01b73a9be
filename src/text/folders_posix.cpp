#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "text/conversions.h"
#include "text/file.h"
#include "text/folders.h"

namespace tunora {
namespace {

std::string withoutTrailingSeparator(std::u16string_view path) {
  std::string native = pathToNative(path);
  if (native.size() > 1 && native.back() == '/') native.pop_back();
  return native;
}

bool isFolder(const std::string& native) {
  struct stat info {};
  return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

bool createFolder(std::u16string_view path) {
  const std::string native = withoutTrailingSeparator(path);
  if (native.empty()) return false;
  mkdir(native.c_str(), 0755);
  return isFolder(native);
}

void resetFileAttributes(std::u16string_view path) {
  const std::string native = pathToNative(path);
  struct stat info {};
  if (stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode))
    chmod(native.c_str(), (info.st_mode & 07777) | S_IRUSR | S_IWUSR);
}

std::vector<std::u16string> listFiles(std::u16string_view folder) {
  const std::string native = pathToNative(folder);
  std::unique_ptr<DIR, DirCloser> dir(opendir(native.empty() ? "." : native.c_str()));
  std::vector<std::string> names;
  if (!dir) return {};
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!isFolder(native + name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::u16string> files;
  files.reserve(names.size());
  for (const auto& name : names) files.push_back(std::u16string(folder) + pathFromNative(name));
  return files;
}

}  // namespace tunora
