#pragma once
// The year and genre normalisations of the track readers.

#include <string>

namespace tunora {

// Keeps the first run of four digits; without one the text becomes "Unknown"
// and the result is false.
bool reduceYear(std::u16string& year);
// Drops a leading "(...)" group: "(17)Rock" -> "Rock".
void stripGenreNumber(std::u16string& genre);

}  // namespace tunora
