#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>
#include <mutex>
#include <set>

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

int errnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    default:
      return EIO;
  }
}

// CREATE_NEW never opens anything that is already there, a link included.
// Shared for deleting, so that the end of a console run can remove a fresh
// file while it is still being written.
HANDLE createExclusively(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

int descriptorOf(HANDLE file, int access) {
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | access);
  if (descriptor < 0) {
    CloseHandle(file);
    errno = EMFILE;
  }
  return descriptor;
}

// The fresh files that Ctrl-C, Ctrl-Break or closing the console must not
// leave behind. The system calls the handler on a thread of its own, so a
// lock guards the set.
struct EndEventFiles {
  std::mutex mutex;
  std::set<std::wstring> paths;
  bool handlerInstalled = false;
  ~EndEventFiles();
};

EndEventFiles& endEventFiles() {
  static EndEventFiles files;
  return files;
}

// Removes them and lets the next handler, in the end the system's own, end
// the process as it would have without us.
BOOL WINAPI removeFreshFilesAtEnd(DWORD) {
  EndEventFiles& files = endEventFiles();
  const std::lock_guard lock(files.mutex);
  for (const std::wstring& path : files.paths) DeleteFileW(path.c_str());
  files.paths.clear();
  return FALSE;
}

// Gone before the set it reads, and not while it runs.
EndEventFiles::~EndEventFiles() {
  const std::lock_guard lock(mutex);
  if (handlerInstalled) SetConsoleCtrlHandler(removeFreshFilesAtEnd, FALSE);
}

// Only a program of ours installs the handler: in the player's process this
// code lives in a plug-in that may be unloaded while the system still holds
// the handler.
bool inMainProgram() {
  HMODULE self = nullptr;
  return GetModuleHandleExW(
             GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
             reinterpret_cast<LPCWSTR>(&inMainProgram), &self) &&
         self == GetModuleHandleW(nullptr);
}

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
  const std::wstring wide = toWide(path);
  // What a link points to is not ours to change.
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
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
  size = 0;
  if (mode == File::Mode::CreateNew) {
    const HANDLE file = createExclusively(toWide(path));
    if (file != INVALID_HANDLE_VALUE) return descriptorOf(file, _O_WRONLY);
    errno = errnoOf(GetLastError());
    return -1;
  }
  // Shared for deleting too, so that a file being read can still be replaced
  // by a fresh one, as on POSIX systems.
  const HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = errnoOf(GetLastError());
    return -1;
  }
  const int descriptor = descriptorOf(file, _O_RDONLY);
  if (descriptor < 0) return -1;
  // Only a file on the disk is read: a device (CON) would wait for input.
  struct _stat64 info {};
  if (_fstat64(descriptor, &info) != 0 || !(info.st_mode & _S_IFREG)) {
    const int reason = (info.st_mode & _S_IFDIR)  ? EACCES
                       : (info.st_mode & _S_IFMT) ? kNotRegularFile
                                                  : errno;
    _close(descriptor);
    errno = reason;
    return -1;
  }
  size = static_cast<std::int64_t>(info.st_size);
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

// Archived, compressed or unindexed folders are as good as any; a link or
// junction to a folder is not ours to delete files in.
bool isPlainDirectory(std::u16string_view path) {
  const DWORD attributes = GetFileAttributesW(withoutTrailingSeparator(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::string makeTempFile() {
  // The unique-name function takes a folder of at most MAX_PATH - 14
  // characters, leaving room for its name; a longer folder, or one that did
  // not fit here, gives no name rather than one somewhere else.
  constexpr DWORD kLongestFolder = MAX_PATH - 14;
  char folder[MAX_PATH + 1] = {};
  char name[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  if (length == 0 || length > kLongestFolder) return {};
  if (GetTempFileNameA(folder, "tup", 0, name) == 0) return {};
  return name;
}

bool removeFile(std::u16string_view path) {
  return DeleteFileW(toWide(path).c_str()) != 0;
}

// The C library's rename refuses a target that exists.
int replaceFile(std::u16string_view from, std::u16string_view to) {
  return MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), MOVEFILE_REPLACE_EXISTING)
             ? 0
             : errnoOf(GetLastError());
}

bool isOwnFolder(std::u16string_view path) {
  return isPlainDirectory(path);
}

void removeAtEndSignal(std::u16string_view path) {
  EndEventFiles& files = endEventFiles();
  const std::lock_guard lock(files.mutex);
  if (!files.handlerInstalled && inMainProgram())
    files.handlerInstalled = SetConsoleCtrlHandler(removeFreshFilesAtEnd, TRUE) != 0;
  if (files.handlerInstalled) files.paths.insert(toWide(path));
}

void keepAtEndSignal(std::u16string_view path) {
  EndEventFiles& files = endEventFiles();
  const std::lock_guard lock(files.mutex);
  files.paths.erase(toWide(path));
}

}  // namespace platform
}  // namespace tunora
