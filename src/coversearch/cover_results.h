#pragma once
// The albums a search found: link and display text each, and the picture of
// its cover once one was fetched, kept as the store sent it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tunora {

struct CoverResult {
  std::string link;  // as found in the page: a path on the store host
  std::string text;
  std::optional<std::vector<std::uint8_t>> cover;
};

using CoverResults = std::vector<CoverResult>;

}  // namespace tunora
