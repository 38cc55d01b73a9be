#pragma once
// The picture a tag offers as the cover: its bytes when the caller keeps
// pictures, else only its size.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "text/byte_reader.h"
#include "trackinfo/track_info.h"

namespace tunora {

class TagPicture {
 public:
  void take(Bytes picture, CoverBytes pictureBytes);
  // A picture measured and not read.
  void takeSize(std::size_t size);
  void forget();

  bool has() const { return has_; }
  // Empty when only the size was asked for.
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::size_t size() const { return size_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t size_ = 0;
  bool has_ = false;
};

}  // namespace tunora
