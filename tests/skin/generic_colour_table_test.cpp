#include "skin/generic_colour_table.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

constexpr std::uint32_t kMarker = 0xFF00FF;

// A row in which every entry is defined, entry i being 0x010000 * i + 0x42.
GenericSkinPixels definedRow() {
  GenericSkinPixels pixels;
  pixels.marker = kMarker;
  for (std::size_t i = 0; i < kGenericColourCount; ++i)
    pixels.entries[i] = 0x010000 * static_cast<std::uint32_t>(i) + 0x42;
  return pixels;
}

// Entries as the fallbacks give them when the bitmap defines none.
void expectAllFallbacks(const GenericColourTable& table) {
  for (int i = 0; i < 18; ++i)
    EXPECT_EQ(table.genericColour(i), GenericColourTable::kDefaults[i]) << i;
  EXPECT_EQ(table.genericColour(18), 0xFFFFFFu);  // entry 4
  EXPECT_EQ(table.genericColour(19), 0xC60000u);  // entry 6
  EXPECT_EQ(table.genericColour(20), 0xFFFFFFu);  // entry 4, not its own default
  // (0xC60000 / 2) + (0x3C2424 / 2), byte by byte.
  EXPECT_EQ(table.genericColour(21), 0x811212u);
}

TEST(GenericColourTable, DefinedPixelsAreTakenAsTheyAreAndEntriesOutsideAreBlack) {
  GenericColourTable table;
  table.load(definedRow());
  for (int i = 0; i < 22; ++i)
    EXPECT_EQ(table.genericColour(i), 0x010000u * static_cast<std::uint32_t>(i) + 0x42) << i;
  EXPECT_EQ(table.genericColour(-1), 0u);
  EXPECT_EQ(table.genericColour(22), 0u);
}

TEST(GenericColourTable, MarkerUnreadAndReservedPixelsFallBack) {
  GenericSkinPixels pixels = definedRow();
  pixels.entries[3] = kMarker;
  pixels.entries[5] = kUnreadPixel;
  pixels.entries[7] = 0xFFC600;
  pixels.entries[19] = kMarker;
  pixels.entries[21] = kMarker;
  GenericColourTable table;
  table.load(pixels);
  EXPECT_EQ(table.genericColour(3), GenericColourTable::kDefaults[3]);
  EXPECT_EQ(table.genericColour(5), GenericColourTable::kDefaults[5]);
  EXPECT_EQ(table.genericColour(7), GenericColourTable::kDefaults[7]);
  // Fallbacks follow the skin's own colours of entries 6 and 2.
  EXPECT_EQ(table.genericColour(19), 0x060042u);
  EXPECT_EQ(table.genericColour(21), ((0x060042u >> 1) & 0x7F7F7F) + ((0x020042u >> 1) & 0x7F7F7F));
  EXPECT_EQ(table.genericColour(20), 0x140042u);
}

TEST(GenericColourTable, ARowOfMarkersOrOfUnreadPixelsGivesTheFallbacks) {
  // A bitmap too small for the row reads the marker like every other pixel.
  GenericSkinPixels markers;
  markers.marker = 0x123456;
  markers.entries.fill(0x123456);
  GenericSkinPixels unread;
  unread.entries.fill(kUnreadPixel);
  for (const GenericSkinPixels& row : {markers, unread}) {
    GenericColourTable table;
    table.load(definedRow());
    table.load(row);
    expectAllFallbacks(table);
  }
}

TEST(GenericColourTable, ColourToHtmlSwapsRedAndBlueInLowerCase) {
  EXPECT_EQ(colourToHtml(0x000000), u"#000000");
  EXPECT_EQ(colourToHtml(0xFFFFFF), u"#ffffff");
  EXPECT_EQ(colourToHtml(0xC60000), u"#0000c6");
  // Only the three colour bytes count.
  EXPECT_EQ(colourToHtml(0xFFFFFFFF), u"#ffffff");
  EXPECT_EQ(colourToHtml(0x01000001), u"#010000");
}

}  // namespace
}  // namespace tunora
