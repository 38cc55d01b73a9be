#include "htmlcreator/temp_covers.h"

#include <unordered_set>

#include "htmlcreator/cover_files.h"
#include "io/file.h"

namespace tunora {

TempCovers::~TempCovers() {
  if (atEnd_ == AtEnd::Delete) deleteAll();
}

void TempCovers::deleteAll(std::span<const std::u16string> kept) const {
  const std::unordered_set<std::u16string> keptPaths(kept.begin(), kept.end());
  const auto isKept = [&](const std::u16string& path) { return keptPaths.contains(path); };
  if (const auto group = groupCoverPath(host_); group && !isKept(*group)) deleteFile(*group);
  const auto folder = host_.coverFolder();
  // Names in a folder that is a link or another user's could be anybody's.
  if (!folder || folder->empty() || !isOwnFolder(*folder)) return;
  // Every track file, even past a track that had no cover.
  for (const std::u16string& path : listFiles(*folder)) {
    const std::u16string_view name = std::u16string_view(path).substr(folder->size());
    if (isTrackCoverName(name) && !isKept(path)) deleteFile(path);
  }
}

}  // namespace tunora
