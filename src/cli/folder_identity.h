#pragma once
// What makes a folder the same folder whichever name leads to it: on POSIX
// systems its device and inode, on Windows its volume and file index. A walk
// that follows links to folders remembers the folders it has listed, so that
// a link to a folder above it never sends it round in a loop.

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tunora {

struct FolderIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  auto operator<=>(const FolderIdentity&) const = default;
};

// The identity of the folder a path names, links followed; nothing when it
// cannot be told. Nothing is opened but the folder itself.
std::optional<FolderIdentity> folderIdentity(std::u16string_view path);

}  // namespace tunora
