#include <windows.h>

#include <cstdio>

#include "text/conversions.h"
#include "text/file.h"

namespace tunora {
namespace {
std::wstring toWide(std::u16string_view text) {
  text = untilNul(text);
  return std::wstring(text.begin(), text.end());
}
}  // namespace

std::u16string pathFromNative(std::string_view path) {
  return convertCharToWChar(path);
}

std::string pathToNative(std::u16string_view path) {
  return convertWCharToChar(path);
}

namespace platform {

std::FILE* openFile(std::u16string_view path, File::Mode mode) {
  return _wfopen(toWide(path).c_str(), mode == File::Mode::Read ? L"rb" : L"wb");
}

bool seekFile(std::FILE* file, std::int64_t offset, int origin) {
  return _fseeki64(file, offset, origin) == 0;
}

std::int64_t tellFile(std::FILE* file) {
  return _ftelli64(file);
}

bool isPlainDirectory(std::u16string_view path) {
  std::wstring wide = toWide(path);
  if (wide.size() > 1 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
  return GetFileAttributesW(wide.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
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

}  // namespace platform
}  // namespace tunora
