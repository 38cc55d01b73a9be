#pragma once

#include <cstdint>

namespace tunora {

// The most a format reader takes into memory for one tag block (an MP4 item
// list, a comment header): far above any real tag with its pictures, and low
// enough that a hostile size field cannot exhaust the address space of the
// 32-bit plug-in.
inline constexpr std::uint64_t kMaxTagBlockSize = 64 * 1024 * 1024;

}  // namespace tunora
