#pragma once
// A hash of a block of bytes, for finding equal pictures quickly. Equal keys
// say nothing for sure: the bytes are compared as well.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace tunora {

inline std::uint64_t contentKey(std::span<const std::uint8_t> bytes) {
  return std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace tunora
