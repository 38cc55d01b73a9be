#include "htmlcreator/temp_covers.h"

#include "htmlcreator/cover_files.h"
#include "io/file.h"

namespace tunora {

TempCovers::~TempCovers() {
  if (atEnd_ == AtEnd::Delete) deleteAll();
}

void TempCovers::deleteAll() const {
  if (const auto group = groupCoverPath(host_)) deleteFile(*group);
  for (std::size_t index = 0;; ++index) {
    const auto track = trackCoverPath(host_, index);
    if (!track || !fileExists(*track)) break;
    deleteFile(*track);
  }
}

}  // namespace tunora
