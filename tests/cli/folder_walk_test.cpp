#include "cli/folder_walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using testing::nativePath;

// An album as people keep one: discs in folders named so that byte order
// gets them wrong, a cover picture and an empty folder beside the music.
class FolderWalk : public ::testing::Test {
 protected:
  FolderWalk() {
    for (const char* name : {"10 - Ten.mp3", "2 - Two.mp3", "cover.jpg", "Disc 10/1.mp3",
                             "Disc 2/1.mp3", "Disc 2/b/x.ogg", "Disc 2/A.flac", "disc 3/"}) {
      const fs::path path = dir.path() / "album" / name;
      fs::create_directories(path.parent_path());
      if (!std::string(name).ends_with('/'))
        writeWholeFile(toU16(path), std::vector<std::uint8_t>{1});
    }
  }
  static std::u16string toU16(const fs::path& path) { return testing::toU16(path); }
  std::u16string album() const { return nativePath(dir.path(), "album"); }

  // The listing as paths below the album, '/'-separated.
  std::vector<std::string> walk(bool recursive, FolderListing* whole = nullptr,
                                std::vector<std::string>* notes = nullptr) const {
    FolderListing listing =
        musicFilesIn(album(), recursive, FileTypeSwitches{}, [notes](const std::string& note) {
          if (notes) notes->push_back(note);
        });
    std::vector<std::string> names;
    const std::string prefix = convertUTF16ToUTF8(album()) + static_cast<char>(kPathSeparator);
    for (const std::u16string& file : listing.files) {
      std::string name = convertUTF16ToUTF8(file);
      EXPECT_TRUE(name.starts_with(prefix)) << name;
      name.erase(0, prefix.size());
      std::replace(name.begin(), name.end(), static_cast<char>(kPathSeparator), '/');
      names.push_back(name);
    }
    if (whole) *whole = std::move(listing);
    return names;
  }

  testing::TempDir dir;
};

TEST_F(FolderWalk, FilesFirstThenSubfoldersEachInNaturalOrder) {
  FolderListing listing;
  const std::vector<std::string> expected = {"2 - Two.mp3",   "10 - Ten.mp3",   "Disc 2/1.mp3",
                                             "Disc 2/A.flac", "Disc 2/b/x.ogg", "Disc 10/1.mp3"};
  EXPECT_EQ(walk(true, &listing), expected);
  EXPECT_EQ(listing.foldersLeftOut, 0u);
  // Never read, but named: no page may be written over it.
  ASSERT_EQ(listing.otherFiles.size(), 1u);
  EXPECT_TRUE(convertUTF16ToUTF8(listing.otherFiles[0]).ends_with("cover.jpg"));
  EXPECT_FALSE(listing.someUnread);
}

TEST_F(FolderWalk, WithoutRecursionOnlyTheFolderItselfAndItsSubfoldersCounted) {
  FolderListing listing;
  EXPECT_EQ(walk(false, &listing), (std::vector<std::string>{"2 - Two.mp3", "10 - Ten.mp3"}));
  EXPECT_EQ(listing.foldersLeftOut, 3u);
}

TEST_F(FolderWalk, SwitchedOffTypesAreLeftOut) {
  FileTypeSwitches switches;
  switches.mp3 = false;
  const FolderListing listing = musicFilesIn(album(), true, switches, {});
  ASSERT_EQ(listing.files.size(), 2u);
  EXPECT_TRUE(convertUTF16ToUTF8(listing.files[0]).ends_with("A.flac"));
  EXPECT_TRUE(convertUTF16ToUTF8(listing.files[1]).ends_with("x.ogg"));
}

TEST_F(FolderWalk, AFolderDeeperThanAnyStackIsWalked) {
  // One folder in the next, far deeper than albums go: the walk keeps its
  // own list of folders, so depth costs no stack.
  if (kPathSeparator == '\\') GTEST_SKIP() << "paths this long need the long-path form there";
  fs::path deep = dir.path() / "album" / "disc 3";
  constexpr int kDepth = 200;
  for (int i = 0; i < kDepth; ++i) deep /= "d";
  std::error_code failed;
  fs::create_directories(deep, failed);
  if (failed) GTEST_SKIP() << "the file system takes no path this long";
  writeWholeFile(toU16(deep / "deep.mp3"), std::vector<std::uint8_t>{1});
  const std::vector<std::string> names = walk(true);
  // "disc 3" comes before "Disc 10".
  ASSERT_EQ(names.size(), 7u);
  EXPECT_TRUE(names[5].ends_with("/d/deep.mp3")) << names[5];
  EXPECT_EQ(names[6], "Disc 10/1.mp3");
}

TEST_F(FolderWalk, TheCommandsListTheWholeTreeInTheSameOrder) {
  const testing::CliResult tags =
      testing::runCli({u"tags", u"--recursive", u"--format", u"<$shortfilename$>", album()});
  EXPECT_EQ(tags.status, 0) << tags.err;
  EXPECT_EQ(tags.out, "2 - Two.mp3\n10 - Ten.mp3\n1.mp3\nA.flac\nx.ogg\n1.mp3\n");
  // Files given beside a folder stay where they are given.
  const std::u16string single = nativePath(dir.path(), "album/Disc 2/A.flac");
  const testing::CliResult mixed =
      testing::runCli({u"tags", u"--format", u"<$shortfilename$>", u"--recursive", single,
                       nativePath(dir.path(), "album/Disc 10")});
  EXPECT_EQ(mixed.out, "A.flac\n1.mp3\n");
  // Without --recursive a folder is no music file.
  EXPECT_EQ(testing::runCli({u"tags", album()}).status, 1);
}

}  // namespace
}  // namespace tunora
