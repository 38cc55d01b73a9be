#include "trackinfo/tagged_track_info.h"

#include "io/file.h"

namespace tunora {

void TaggedTrackInfo::takeCover(Bytes picture) {
  coverSize_ = picture.size();
  if (coverBytes() == CoverBytes::Kept) cover_.assign(picture.begin(), picture.end());
}

bool TaggedTrackInfo::takeCover(FileBlocks& blocks, std::int64_t offset, std::uint64_t size) {
  if (coverBytes() == CoverBytes::Kept) {
    const auto picture = blocks.read(offset, size);
    if (picture) takeCover(*picture);
    return picture.has_value();
  }
  // The bounds a read would check, so that both ways agree on every file.
  if (offset < 0 || offset > blocks.length() ||
      size > static_cast<std::uint64_t>(blocks.length() - offset) || size > SIZE_MAX)
    return false;
  coverSize_ = static_cast<std::size_t>(size);
  return true;
}

}  // namespace tunora
