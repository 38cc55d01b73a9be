#include "tags/tag_picture.h"

namespace tunora {

void TagPicture::take(Bytes picture, CoverBytes pictureBytes) {
  if (pictureBytes == CoverBytes::Kept) bytes_.assign(picture.begin(), picture.end());
  size_ = picture.size();
  has_ = true;
}

void TagPicture::takeSize(std::size_t size) {
  bytes_.clear();
  size_ = size;
  has_ = true;
}

void TagPicture::forget() {
  bytes_.clear();
  size_ = 0;
  has_ = false;
}

}  // namespace tunora
