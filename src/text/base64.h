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

// How many bytes decodeBase64 would give, and whether it would give any:
// the text is checked as a whole, and nothing is decoded.
std::optional<std::size_t> base64DecodedSize(std::string_view text);

// The first `count` bytes (all when there are fewer) of a text that
// base64DecodedSize accepted: for a reader that needs only the fields in
// front of a large value.
std::vector<std::uint8_t> decodeBase64Front(std::string_view text, std::size_t count);

}  // namespace tunora
