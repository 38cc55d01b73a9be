#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>

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

// A file opened for writing is written under a fresh name beside its target
// and moved over the target when closed: no link, junction or other file
// that holds the target's name is ever written through, and a reader never
// finds half a file.
struct PendingWrite {
  std::wstring temporary;
  std::wstring target;
};
std::mutex pendingMutex;
std::map<int, PendingWrite> pendingWrites;

// Only a missing name or a file on a disk may be replaced; a link, a folder
// or a device (CON, NUL, a pipe) is refused.
bool replaceable(const std::wstring& target) {
  const HANDLE file = CreateFileW(
      target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    errno = errnoOf(error);
    return error == ERROR_FILE_NOT_FOUND;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool plain =
      GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
      !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
  CloseHandle(file);
  errno = EACCES;
  return plain;
}

// CREATE_NEW never opens anything that is already there, a link included.
HANDLE createExclusively(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

int descriptorOf(HANDLE file, int access = _O_WRONLY) {
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | access);
  if (descriptor < 0) {
    CloseHandle(file);
    errno = EMFILE;
  }
  return descriptor;
}

// A new file of a short name of its own in the target's folder.
HANDLE createBeside(const std::wstring& target, std::wstring& temporary) {
  static std::atomic<unsigned> counter{0};
  const auto slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  for (int attempt = 0; attempt < 16; ++attempt) {
    wchar_t name[32] = {};
    swprintf(name, 32, L".tunora-%04x%04x", static_cast<unsigned>(GetCurrentProcessId() & 0xFFFF),
             static_cast<unsigned>((counter++ ^ GetTickCount()) & 0xFFFF));
    temporary = folder + name;
    const HANDLE file = createExclusively(temporary);
    if (file != INVALID_HANDLE_VALUE) return file;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  errno = errnoOf(GetLastError());
  return INVALID_HANDLE_VALUE;
}

int openForWriting(std::u16string_view path) {
  PendingWrite write{{}, toWide(path)};
  if (write.target.empty()) {
    errno = ENOENT;
    return -1;
  }
  if (!replaceable(write.target)) return -1;
  const HANDLE file = createBeside(write.target, write.temporary);
  if (file == INVALID_HANDLE_VALUE) return -1;
  const int descriptor = descriptorOf(file);
  if (descriptor < 0) {
    DeleteFileW(write.temporary.c_str());
    return -1;
  }
  const std::lock_guard lock(pendingMutex);
  pendingWrites[descriptor] = std::move(write);
  return descriptor;
}

// Moves a written file over its target; false (and the file gone) when that
// failed.
bool finishWrite(int descriptor, bool closed) {
  PendingWrite write;
  {
    const std::lock_guard lock(pendingMutex);
    const auto found = pendingWrites.find(descriptor);
    if (found == pendingWrites.end()) return closed;
    write = std::move(found->second);
    pendingWrites.erase(found);
  }
  if (closed && replaceable(write.target) &&
      MoveFileExW(write.temporary.c_str(), write.target.c_str(), MOVEFILE_REPLACE_EXISTING))
    return true;
  DeleteFileW(write.temporary.c_str());
  return false;
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
  size = 0;
  if (mode == File::Mode::Write) return openForWriting(path);
  if (mode == File::Mode::CreateNew) {
    const HANDLE file = createExclusively(toWide(path));
    if (file != INVALID_HANDLE_VALUE) return descriptorOf(file);
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
  return finishWrite(descriptor, _close(descriptor) == 0);
}

// Archived, compressed or unindexed folders are as good as any; a link or
// junction to a folder is not ours to delete files in.
bool isPlainDirectory(std::u16string_view path) {
  const DWORD attributes = GetFileAttributesW(withoutTrailingSeparator(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
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

// The C library's rename refuses a target that exists.
int replaceFile(std::u16string_view from, std::u16string_view to) {
  return MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), MOVEFILE_REPLACE_EXISTING)
             ? 0
             : errnoOf(GetLastError());
}

bool isOwnFolder(std::u16string_view path) {
  return isPlainDirectory(path);
}

// Ctrl-C ends a console program without running anything of ours.
void removeAtEndSignal(std::u16string_view) {}
void keepAtEndSignal(std::u16string_view) {}

}  // namespace platform
}  // namespace tunora
