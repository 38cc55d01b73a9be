#pragma once
// The ID3v1 genre list with its extensions up to 147: the one list of genre
// names in the system, for the ID3v1 genre byte and numeric ID3v2 genre texts.

#include <cstdint>
#include <string>
#include <string_view>

namespace tunora {

inline constexpr std::uint32_t kGenreCount = 148;

// The name of a genre number; "Unknown" for 148 and above (255 is what
// taggers write for "no genre").
std::u16string_view genreName(std::uint32_t number);

// One genre value as ID3v2 taggers write it: "17" and "(17)" name genre 17
// of the table (a number counts by its low 8 bits), "RX" and "CR", bare or in
// parentheses, name a remix and a cover. Text after the parenthesised
// references refines them and is what remains ("(17)Rock" gives "Rock");
// several references alone give their names joined as several values are.
// Any other text is kept as written.
std::u16string resolveGenre(std::u16string_view text);

}  // namespace tunora
