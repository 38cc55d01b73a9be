#include "trackinfo/tagged_track_info.h"

#include "io/file.h"

namespace tunora {

int TaggedTrackInfo::saveCover(const std::u16string& targetPath) {
  if (!cover_) return 0;
  return writeWholeFile(targetPath, *cover_) ? 1 : -1;
}

}  // namespace tunora
