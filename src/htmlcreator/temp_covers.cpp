#include "htmlcreator/temp_covers.h"

#include "htmlcreator/cover_files.h"
#include "io/file.h"

namespace tunora {

TempCovers::~TempCovers() {
  if (atEnd_ == AtEnd::Delete) deleteAll();
}

void TempCovers::deleteAll() const {
  if (const auto group = groupCoverPath(host_)) deleteFile(*group);
  const auto folder = host_.coverFolder();
  if (!folder || folder->empty() || !folderExists(*folder)) return;
  // Every track file, even past a track that had no cover.
  for (const std::u16string& path : listFiles(*folder)) {
    const std::u16string_view name = std::u16string_view(path).substr(folder->size());
    if (isTrackCoverName(name)) deleteFile(path);
  }
}

}  // namespace tunora
