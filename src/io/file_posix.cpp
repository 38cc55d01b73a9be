#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "io/file.h"
#include "text/conversions.h"

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

std::u16string pathFromNative(std::string_view path) {
  std::u16string wide;
  convertUTF8ToUTF16(path, wide);
  return wide;
}

std::string pathToNative(std::u16string_view path) {
  return convertUTF16ToUTF8(untilNul(path));
}

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

namespace platform {

std::FILE* openFile(std::u16string_view path, File::Mode mode) {
  const std::string native = pathToNative(path);
  std::FILE* file = std::fopen(native.c_str(), mode == File::Mode::Read ? "rb" : "wb");
  if (file == nullptr) return nullptr;
  struct stat info {};
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    errno = EISDIR;
    return nullptr;
  }
  return file;
}

bool seekFile(std::FILE* file, std::int64_t offset, int origin) {
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

std::int64_t tellFile(std::FILE* file) {
  return ftello(file);
}

bool isPlainDirectory(std::u16string_view path) {
  struct stat info {};
  // A directory the owner cannot write to is the counterpart of a read-only one.
  return stat(withoutTrailingSeparator(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         (info.st_mode & S_IWUSR);
}

std::string makeTempFile() {
  const char* folder = std::getenv("TMPDIR");
  std::string name =
      std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/tupXXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return {};
  ::close(fd);
  return name;
}

bool removeFile(std::u16string_view path) {
  return ::unlink(pathToNative(path).c_str()) == 0;
}

}  // namespace platform
}  // namespace tunora
