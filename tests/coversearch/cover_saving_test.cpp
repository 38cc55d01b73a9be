#include "coversearch/cover_saving.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "io/file.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

TEST(CoverFileName, FillsArtistAndAlbumAndKeepsTheNameUsable) {
  EXPECT_EQ(makeCoverFileName("folder.jpg", "A", "B"), "folder.jpg");
  EXPECT_EQ(makeCoverFileName("%a - %b - thumb.jpg", "A", "B"), "A - B - thumb.jpg");
  EXPECT_EQ(makeCoverFileName("%a%a-%b.jpg", "x", "%a"), "xx-%a.jpg");
  EXPECT_EQ(makeCoverFileName("%A %a.jpg", "AC/DC", "What?"), "%A AC_DC.jpg");
  EXPECT_EQ(makeCoverFileName("%a %b", "\\/:*?", "\"<>|ok"), "_____ ____ok");
}

TEST(SaveCover, WritesTheBytesWhereTheUserMayWrite) {
  namespace fs = std::filesystem;
  testing::TempDir dir;
  std::ofstream(dir.path() / "older.jpg", std::ios::binary) << "a longer earlier cover";
  std::ofstream(dir.path() / "kept.jpg", std::ios::binary) << "kept";
  fs::permissions(dir.path() / "kept.jpg", fs::perms::owner_read);
  fs::create_directory(dir.path() / "folder.jpg");
  const std::vector<std::uint8_t> cover{0xFF, 0xD8, 0xFF, 0xD9};
  const struct {
    const char* name;
    bool saved;
    const char* held;  // afterwards
  } cases[] = {
      {"new.jpg", true, "\xFF\xD8\xFF\xD9"},
      {"older.jpg", true, "\xFF\xD8\xFF\xD9"},
      {"kept.jpg", false, "kept"},
      {"folder.jpg", false, nullptr},
      {"no/such/folder.jpg", false, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(saveCover(cover, dir.file(c.name)), c.saved) << c.name;
    if (c.held == nullptr) continue;
    const auto held = readWholeFile(dir.file(c.name));
    EXPECT_EQ(held, std::vector<std::uint8_t>(c.held, c.held + std::string_view(c.held).size()))
        << c.name;
  }
  fs::permissions(dir.path() / "kept.jpg", fs::perms::owner_all);
  // A link planted under the target's name is replaced, never written through.
  std::error_code noLinks;
  fs::create_symlink(dir.path() / "older.jpg", dir.path() / "linked.jpg", noLinks);
  if (noLinks) return;
  ASSERT_TRUE(saveCover(std::span(cover).first(2), dir.file("linked.jpg")));
  EXPECT_EQ(readWholeFile(dir.file("older.jpg")), cover);
  EXPECT_FALSE(fs::is_symlink(dir.path() / "linked.jpg"));
}

}  // namespace
}  // namespace tunora
