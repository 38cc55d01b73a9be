#pragma once
// The temporary cover files that pages point at: one per track of a page
// ("_tmptrk" + index + ".jpg") and one for the group ("_tmpdir.jpg"), in the
// cover folder that the host names.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "hostlink/host_link.h"

namespace tunora {

// Paths longer than this cannot be formed; the cover then counts as not found.
inline constexpr std::size_t kMaxPathLength = 259;

// Nothing when the host names no cover folder or the path would be too long.
std::optional<std::u16string> groupCoverPath(const HostLink& host);
std::optional<std::u16string> trackCoverPath(const HostLink& host, std::size_t index);

// True for the name (without folder) of a track's temporary cover.
bool isTrackCoverName(std::u16string_view name);

// Makes room for a new temporary cover: an old file of that name is made
// writable, to be replaced, or the folder is created when it is missing;
// false when that fails, or when a link or another user's folder stands in
// the folder's place: names in it could lead anywhere. A page of two thousand tracks rewrites as
// many covers: deleting and creating each one made the file system look for
// free inodes thousands of times, and took longer than making the page.
bool prepareTempCover(std::u16string_view path);

}  // namespace tunora
