#include <windows.h>

#include <memory>
#include <string>

#include "cli/folder_identity.h"

namespace tunora {
namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

}  // namespace

std::optional<FolderIdentity> folderIdentity(std::u16string_view path) {
  const std::wstring wide =
      path.empty() ? std::wstring(L".") : std::wstring(path.begin(), path.end());
  // Without FILE_FLAG_OPEN_REPARSE_POINT a junction or link opens the folder
  // it leads to; backup semantics is what lets a folder open at all.
  const HANDLE folder = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::unique_ptr<void, HandleCloser> closer(folder);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(folder, &info) ||
      !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return FolderIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace tunora
