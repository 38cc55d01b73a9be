#include "skin/skin_colours.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "io/file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

struct SkinHost : HostLink {
  std::optional<std::u16string> folder;
  std::optional<GenericSkinPixels> pixels;
  mutable int pixelRequests = 0;
  std::optional<std::u16string> skinFolder() const override { return folder; }
  std::optional<GenericSkinPixels> genericSkinPixels() const override {
    ++pixelRequests;
    return pixels;
  }
};

void writeSkinFile(const std::u16string& path, std::string_view text) {
  ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end())));
}

PageColours colours(const char16_t* normal, const char16_t* background, const char16_t* current,
                    const char16_t* selected) {
  return PageColours{normal, background, current, selected};
}

void expectColours(const PageColours& actual, const PageColours& expected) {
  EXPECT_EQ(actual.normal, expected.normal);
  EXPECT_EQ(actual.normalBackground, expected.normalBackground);
  EXPECT_EQ(actual.current, expected.current);
  EXPECT_EQ(actual.selectedBackground, expected.selectedBackground);
}

class SkinColours : public ::testing::Test {
 protected:
  SkinColours() { host.folder = testing::toU16(dir.path()); }
  void refresh() { refreshSkinColours(host, table, page); }

  testing::TempDir dir;
  SkinHost host;
  GenericColourTable table;
  PageColours page = colours(u"#010101", u"#020202", u"#030303", u"#040404");
};

TEST_F(SkinColours, WithoutASkinFolderTheColoursStay) {
  writeSkinFile(dir.file("pledit.txt"), "Normal=#C0C0C0\n\n");
  for (const std::optional<std::u16string>& folder :
       {std::optional<std::u16string>{}, std::optional<std::u16string>{u""}}) {
    host.folder = folder;
    refresh();
    expectColours(page, colours(u"#010101", u"#020202", u"#030303", u"#040404"));
  }
  // A folder that is gone, or holds neither file, changes nothing either.
  host.folder = testing::toU16(dir.path() / "gone");
  refresh();
  std::filesystem::remove(dir.path() / "pledit.txt");
  host.folder = testing::toU16(dir.path());
  refresh();
  expectColours(page, colours(u"#010101", u"#020202", u"#030303", u"#040404"));
  EXPECT_EQ(host.pixelRequests, 0);
}

TEST_F(SkinColours, AClassicSkinGivesItsPlaylistColoursAndTheyOutliveIt) {
  writeSkinFile(dir.file("pledit.txt"), "[Text]\r\nNormal=#C0C0C0\r\nNormalBG=#202020\r\n");
  refresh();
  expectColours(page, colours(u"#C0C0C0", u"#202020", u"#030303", u"#040404"));
  // Back to the player's default skin: the last colours stay.
  host.folder = u"";
  refresh();
  expectColours(page, colours(u"#C0C0C0", u"#202020", u"#030303", u"#040404"));
  EXPECT_EQ(host.pixelRequests, 0);
}

TEST_F(SkinColours, SkinFileNamesAreFoundInAnyLetterCase) {
  writeSkinFile(dir.file("PLEDIT.TXT"), "Current=#ABCDEF\n\n");
  refresh();
  EXPECT_EQ(page.current, u"#ABCDEF");
  writeSkinFile(dir.file("Skin.XML"), "<skin/>");
  refresh();
  EXPECT_EQ(page.current, u"#ffffff");
}

TEST_F(SkinColours, AModernSkinTakesTheGenericTableBeforeItsPlaylistFile) {
  writeSkinFile(dir.file("skin.xml"), "<skin/>");
  writeSkinFile(dir.file("pledit.txt"), "Normal=#C0C0C0\n\n");
  // No bitmap yet: the default table, not black on black.
  refresh();
  expectColours(page, colours(u"#00ff00", u"#000000", u"#ffffff", u"#0000c6"));

  GenericSkinPixels pixels;
  pixels.marker = 0xFF00FF;
  pixels.entries.fill(0xFF00FF);
  pixels.entries[0] = 0x0A0B0C;
  pixels.entries[1] = 0xABCDEF;
  pixels.entries[4] = 0x112233;
  pixels.entries[6] = 0x445566;
  host.pixels = pixels;
  refresh();
  // Entry 18 falls back to entry 4.
  expectColours(page, colours(u"#efcdab", u"#0c0b0a", u"#332211", u"#665544"));

  // The bitmap gone again: the table keeps what the last one gave.
  host.pixels.reset();
  page = PageColours{};
  refresh();
  expectColours(page, colours(u"#efcdab", u"#0c0b0a", u"#332211", u"#665544"));
  EXPECT_EQ(host.pixelRequests, 3);
}

}  // namespace
}  // namespace tunora
