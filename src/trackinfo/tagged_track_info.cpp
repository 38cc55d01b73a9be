#include "trackinfo/tagged_track_info.h"

#include "io/file.h"

namespace tunora {

int TaggedTrackInfo::saveCover(const std::u16string& targetPath) {
  if (!hasCover()) return 0;
  const auto* bytes = getCoverData();
  return bytes != nullptr && writeWholeFile(targetPath, *bytes) ? 1 : -1;
}

void TaggedTrackInfo::takeCover(Bytes picture) {
  coverSize_ = picture.size();
  if (coverBytes() == CoverBytes::Kept) cover_.assign(picture.begin(), picture.end());
}

void TaggedTrackInfo::takeCover(std::vector<std::uint8_t>&& picture) {
  coverSize_ = picture.size();
  if (coverBytes() == CoverBytes::Kept) cover_ = std::move(picture);
}

}  // namespace tunora
