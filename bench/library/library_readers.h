#pragma once
// The three ways of reading a library that the benchmark compares. Each
// returns totals, so that none of the work can be left out and the readers
// can be compared for reading the same values.

#include <cstdint>
#include <string>
#include <vector>

namespace tunora::bench {

struct ReadTotals {
  std::uint64_t files = 0;
  std::uint64_t titled = 0;      // files whose title was read
  std::uint64_t covered = 0;     // files whose cover was read
  std::uint64_t coverBytes = 0;  // bytes of all covers
  std::uint64_t checksum = 0;    // of the texts and figures read
};

// Tunora: the class the extension chooses, every value and the cover bytes.
ReadTotals readWithTunora(const std::vector<std::string>& files);
// The floor: open, read the first 64 KB and the last 4 KB, close.
ReadTotals readFloor(const std::vector<std::string>& files);
// TagLib: the same values and the cover bytes.
ReadTotals readWithTagLib(const std::vector<std::string>& files);

}  // namespace tunora::bench
