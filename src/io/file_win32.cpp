#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>

#include "io/file.h"
#include "text/conversions.h"

namespace tunora {
namespace {

std::wstring toWide(std::u16string_view text) {
  text = untilNul(text);
  return std::wstring(text.begin(), text.end());
}

std::wstring withoutTrailingSeparator(std::u16string_view path) {
  std::wstring wide = toWide(path);
  if (wide.size() > 1 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
  return wide;
}

struct FindCloser {
  void operator()(HANDLE handle) const { FindClose(handle); }
};

}  // namespace

std::filesystem::path toFsPath(std::u16string_view path) {
  return std::filesystem::path(std::wstring(path.begin(), path.end()));
}

std::u16string fromFsPath(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  return std::u16string(wide.begin(), wide.end());
}

std::u16string pathFromNative(std::string_view path) {
  path = untilNul(path);
  if (path.empty()) return {};
  const int length = static_cast<int>(path.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, path.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), length, reinterpret_cast<wchar_t*>(wide.data()),
                      units);
  return wide;
}

std::string pathToNative(std::u16string_view path) {
  path = untilNul(path);
  if (path.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(path.data());
  const int length = static_cast<int>(path.size());
  // Without best fit, a character the code page lacks becomes "?", which no
  // file name holds, rather than a look-alike that may name another file.
  constexpr DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int bytes = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string native(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide, length, native.data(), bytes, nullptr, nullptr);
  return native;
}

bool createFolder(std::u16string_view path) {
  const std::wstring wide = withoutTrailingSeparator(path);
  if (wide.empty()) return false;
  if (CreateDirectoryW(wide.c_str(), nullptr))
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void resetFileAttributes(std::u16string_view path) {
  SetFileAttributesW(toWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::vector<std::u16string> listFiles(std::u16string_view folder) {
  std::vector<std::u16string> files;
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = toWide(folder) + L"*.*";
  const HANDLE handle = FindFirstFileW(pattern.c_str(), &found);
  if (handle == INVALID_HANDLE_VALUE) return files;
  std::unique_ptr<void, FindCloser> closer(handle);
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring name = found.cFileName;
    files.push_back(std::u16string(folder) + std::u16string(name.begin(), name.end()));
  } while (FindNextFileW(handle, &found));
  return files;
}

namespace platform {

int openFile(std::u16string_view path, File::Mode mode, std::int64_t& size) {
  const int flags =
      _O_BINARY | (mode == File::Mode::Read ? _O_RDONLY : _O_WRONLY | _O_CREAT | _O_TRUNC);
  const int descriptor = _wopen(toWide(path).c_str(), flags, _S_IREAD | _S_IWRITE);
  if (descriptor < 0) return -1;
  size = 0;
  if (mode == File::Mode::Read) {
    struct _stat64 info {};
    if (_fstat64(descriptor, &info) != 0 || (info.st_mode & _S_IFDIR)) {
      const int reason = (info.st_mode & _S_IFDIR) ? EACCES : errno;
      _close(descriptor);
      errno = reason;
      return -1;
    }
    size = (info.st_mode & _S_IFIFO) ? -1 : static_cast<std::int64_t>(info.st_size);
  }
  return descriptor;
}

// The CRT has no positioned reads: a seek, then reads of at most INT_MAX.
std::int64_t readFileAt(int descriptor, std::int64_t offset, std::span<std::uint8_t> buffer) {
  if (_lseeki64(descriptor, offset, SEEK_SET) != offset) return -1;
  std::size_t done = 0;
  while (done < buffer.size()) {
    const auto chunk = static_cast<unsigned>(std::min<std::size_t>(buffer.size() - done, INT_MAX));
    const int count = _read(descriptor, buffer.data() + done, chunk);
    if (count < 0) return done > 0 ? static_cast<std::int64_t>(done) : -1;
    if (count == 0) break;
    done += static_cast<std::size_t>(count);
  }
  return static_cast<std::int64_t>(done);
}

bool writeFileAt(int descriptor, std::int64_t offset, std::span<const std::uint8_t> bytes) {
  if (_lseeki64(descriptor, offset, SEEK_SET) != offset) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, INT_MAX));
    const int count = _write(descriptor, bytes.data() + done, chunk);
    if (count <= 0) return false;
    done += static_cast<std::size_t>(count);
  }
  return true;
}

bool closeFile(int descriptor) {
  return _close(descriptor) == 0;
}

bool isPlainDirectory(std::u16string_view path) {
  return GetFileAttributesW(withoutTrailingSeparator(path).c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

std::string makeTempFile() {
  char folder[MAX_PATH + 1] = {};
  char name[MAX_PATH + 1] = {};
  if (GetTempPathA(MAX_PATH, folder) == 0) return {};
  if (GetTempFileNameA(folder, "tup", 0, name) == 0) return {};
  return name;
}

bool removeFile(std::u16string_view path) {
  return DeleteFileW(toWide(path).c_str()) != 0;
}

bool isOwnFolder(std::u16string_view path) {
  return isPlainDirectory(path);
}

// Ctrl-C ends a console program without running anything of ours.
void removeAtEndSignal(std::u16string_view) {}
void keepAtEndSignal(std::u16string_view) {}

}  // namespace platform
}  // namespace tunora
