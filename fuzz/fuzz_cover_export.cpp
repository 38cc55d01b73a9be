// A cover made ready for a page from any bytes: a JPEG or PNG decoded,
// turned and scaled, never larger than the page shows unless kept as it is.
#include <cstddef>
#include <cstdint>
#include <span>

#include "htmlcreator/cover_export.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto cover = tunora::prepareCover(bytes, nullptr);
  if (!cover) return 0;
  const bool kept = cover->bytes.size() == size;
  if (!kept && (cover->width > tunora::kMaxCoverSide || cover->height > tunora::kMaxCoverSide))
    __builtin_trap();
  return 0;
}
