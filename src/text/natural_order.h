#pragma once
// Names in the order a file manager shows them: letters compared without
// regard to their case, runs of digits by their value, so that "Disc 2" comes
// before "Disc 10" and "track 9" before "Track 10". Names that differ only in
// letter case or leading zeros still get a fixed order, so sorting is stable
// from run to run.

#include <string_view>

namespace tunora {

// Below zero when `a` comes first, zero only for equal names, above zero
// otherwise.
int compareNaturally(std::u16string_view a, std::u16string_view b);

inline bool naturallyBefore(std::u16string_view a, std::u16string_view b) {
  return compareNaturally(a, b) < 0;
}

}  // namespace tunora
