#pragma once
// A hash of a block of bytes, for finding equal pictures quickly. Equal keys
// say nothing for sure: the bytes are compared as well. So the key need not
// read every byte of a large picture: its size and its first and last
// kilobytes tell different pictures apart, at a fraction of the cost.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace tunora {

inline std::uint64_t contentKey(std::span<const std::uint8_t> bytes) {
  const auto hash = [](std::span<const std::uint8_t> part) -> std::uint64_t {
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(part.data()), part.size()));
  };
  constexpr std::size_t kSampled = 4096;
  if (bytes.size() <= 2 * kSampled) return hash(bytes);
  // Odd constants mix the three parts so that swapped halves differ.
  return hash(bytes.first(kSampled)) ^ (hash(bytes.last(kSampled)) * 0x9E3779B97F4A7C15u) ^
         (static_cast<std::uint64_t>(bytes.size()) * 0xC2B2AE3D27D4EB4Fu);
}

}  // namespace tunora
