#pragma once
// Some taggers store a tiny placeholder where a picture belongs: a picture
// under 100 bytes is never written out as a cover, by the readers or by the
// page.

#include <cstddef>

namespace tunora {

inline constexpr std::size_t kMinCoverBytes = 100;

constexpr bool isLargeEnoughForCover(std::size_t pictureBytes) {
  return pictureBytes >= kMinCoverBytes;
}

}  // namespace tunora
