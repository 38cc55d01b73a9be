#include "skin/generic_colour_table.h"

namespace tunora {
namespace {

// A pixel of this colour marks an undefined entry as the marker pixel does.
constexpr std::uint32_t kUndefinedColour = 0xFFC600;

// Per byte: each halved, the low bit dropped so that no byte carries over.
std::uint32_t average(std::uint32_t a, std::uint32_t b) {
  return ((a >> 1) & 0x7F7F7F) + ((b >> 1) & 0x7F7F7F);
}

}  // namespace

void GenericColourTable::load(const GenericSkinPixels& pixels) {
  for (std::size_t i = 0; i < kGenericColourCount; ++i) {
    const std::uint32_t pixel = pixels.entries[i];
    if (pixel != kUnreadPixel && pixel != kUndefinedColour && pixel != pixels.marker) {
      entries_[i] = pixel;
      continue;
    }
    // Fallbacks refer only to lower entries, which are already stored.
    switch (i) {
      case 18:
      case 20:
        entries_[i] = entries_[4];
        break;
      case 19:
        entries_[i] = entries_[6];
        break;
      case 21:
        entries_[i] = average(entries_[6], entries_[2]);
        break;
      default:
        entries_[i] = kDefaults[i];
    }
  }
}

std::uint32_t GenericColourTable::genericColour(int entry) const {
  if (entry < 0 || static_cast<std::size_t>(entry) >= entries_.size()) return 0;
  return entries_[static_cast<std::size_t>(entry)];
}

std::u16string colourToHtml(std::uint32_t colour) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string html = u"#";
  // Red is the low byte, blue the third.
  for (const int shift : {0, 8, 16}) {
    const std::uint32_t byte = (colour >> shift) & 0xFF;
    html += kDigits[byte >> 4];
    html += kDigits[byte & 0xF];
  }
  return html;
}

}  // namespace tunora
