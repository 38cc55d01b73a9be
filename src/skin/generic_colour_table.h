#pragma once
// The generic colour table of a modern skin: 22 Windows colour values
// (0x00BBGGRR) that the player publishes as a row of pixels in its generic
// skin bitmap. Entries the bitmap leaves undefined fall back to defaults.

#include <array>
#include <cstdint>
#include <string>

#include "hostlink/host_link.h"

namespace tunora {

class GenericColourTable {
 public:
  // The player's own table, used for the entries a skin does not define.
  static constexpr std::array<std::uint32_t, kGenericColourCount> kDefaults{
      0x000000, 0x00FF00, 0x3C2424, 0x423839, 0xFFFFFF, 0xA59484, 0xC60000, 0x784848,
      0xFFFFFF, 0xB46C6C, 0x3C2424, 0x1E1212, 0x3C2424, 0x3C2424, 0x3C2424, 0x968279,
      0x6E584E, 0x3C2424, 0xFFFFFF, 0xB40000, 0x00FF00, 0x800000};

  // Replaces every entry from the bitmap's row. An unread pixel, the value
  // 0xFFC600 or the marker pixel leaves the entry undefined: entries 18 and
  // 20 then take entry 4, entry 19 takes entry 6, entry 21 the average of
  // entries 6 and 2, any other its default.
  void load(const GenericSkinPixels& pixels);
  // 0 for an entry outside the table.
  std::uint32_t genericColour(int entry) const;

 private:
  // Until a bitmap is read the page shows the defaults, not black on black.
  std::array<std::uint32_t, kGenericColourCount> entries_ = kDefaults;
};

// "#rrggbb" in lower case from a Windows colour value; the top byte is ignored.
std::u16string colourToHtml(std::uint32_t colour);

}  // namespace tunora
