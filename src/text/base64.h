#pragma once
// Base64 (RFC 4648, with padding), as tags carry binary values in text.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tunora {

// The bytes of the text; nothing when it holds a character outside the
// alphabet, misplaced padding, or a length that is not a multiple of four.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

}  // namespace tunora
