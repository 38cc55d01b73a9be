#pragma once
// The ID3v1 genre list with its extensions up to 147: the one list of genre
// names in the system, for the ID3v1 genre byte and numeric ID3v2 genre texts.

#include <cstdint>
#include <string_view>

namespace tunora {

inline constexpr std::uint32_t kGenreCount = 148;

// The name of a genre number; "Unknown" for 148 and above (255 is what
// taggers write for "no genre").
std::u16string_view genreName(std::uint32_t number);

}  // namespace tunora
