#include <sys/stat.h>

#include "cli/folder_identity.h"
#include "io/file.h"

namespace tunora {

std::optional<FolderIdentity> folderIdentity(std::u16string_view path) {
  const std::string native = path.empty() ? "." : pathToNative(path);
  struct stat info {};
  if (stat(native.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return FolderIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace tunora
