#include <windows.h>

#include <memory>

#include "text/conversions.h"
#include "text/folders.h"

namespace tunora {
namespace {

std::wstring toWide(std::u16string_view text) {
  text = untilNul(text);
  return std::wstring(text.begin(), text.end());
}

struct FindCloser {
  void operator()(HANDLE handle) const { FindClose(handle); }
};

}  // namespace

bool createFolder(std::u16string_view path) {
  std::wstring wide = toWide(path);
  if (wide.size() > 1 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
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

}  // namespace tunora
