#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "text/conversions.h"
#include "text/file.h"

namespace tunora {

std::u16string pathFromNative(std::string_view path) {
  std::u16string wide;
  convertUTF8ToUTF16(path, wide);
  return wide;
}

std::string pathToNative(std::u16string_view path) {
  return convertUTF16ToUTF8(untilNul(path));
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
  std::string native = pathToNative(path);
  if (native.size() > 1 && native.back() == '/') native.pop_back();
  struct stat info {};
  // A directory the owner cannot write to is the counterpart of a read-only one.
  return stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_IWUSR);
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
