#pragma once
// Playing times from the counts that stream headers keep: samples (or media
// ticks) over their rate, or bytes over a bit rate. Counts read from a file
// can be anything, so every step saturates instead of wrapping.

#include <cstdint>

namespace tunora {

// `units` at `perSecond` units a second, in milliseconds rounded to the
// nearest; 0 when the rate is 0.
std::uint64_t millisecondsOf(std::uint64_t units, std::uint64_t perSecond);

// `bytes` of audio at a mean `bitsPerSecond`, rounded to the nearest
// millisecond; 0 when the rate is not above 0.
std::uint64_t millisecondsOfBytes(std::uint64_t bytes, double bitsPerSecond);

}  // namespace tunora
