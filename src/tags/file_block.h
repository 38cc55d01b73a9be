#pragma once
// Block reads for the tag locators, which take their offsets and counts from
// the file itself: a count that the file cannot hold, or that does not fit the
// platform's size_t, gives nothing instead of an allocation.

#include <cstdint>
#include <optional>
#include <vector>

#include "text/file.h"

namespace tunora {

inline std::optional<std::vector<std::uint8_t>> readFileBlock(File& file, std::int64_t offset,
                                                              std::uint64_t count,
                                                              std::int64_t length) {
  if (offset < 0 || offset > length || count > static_cast<std::uint64_t>(length - offset) ||
      count > SIZE_MAX)
    return std::nullopt;
  return file.readAt(offset, static_cast<std::size_t>(count));
}

}  // namespace tunora
