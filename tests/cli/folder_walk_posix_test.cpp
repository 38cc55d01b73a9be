// What a folder walk meets on a POSIX system besides files and folders: links
// in every direction, FIFOs and devices, and folders it may not read.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/folder_walk.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;

class FolderWalkLinks : public ::testing::Test {
 protected:
  FolderWalkLinks() {
    fs::create_directories(root() / "a");
    fs::create_directories(dir.path() / "elsewhere");
    for (const char* name : {"1.mp3", "a/2.mp3"}) touch(root() / name);
    touch(dir.path() / "elsewhere" / "3.mp3");
  }
  fs::path root() const { return dir.path() / "root"; }
  static void touch(const fs::path& path) {
    writeWholeFile(testing::toU16(path), std::vector<std::uint8_t>{1});
  }

  struct Walked {
    std::vector<std::string> files;
    std::vector<std::string> notes;
    bool someUnread = false;
  };
  Walked walk() const {
    Walked walked;
    const FolderListing listing =
        musicFilesIn(testing::toU16(root()), true, FileTypeSwitches{},
                     [&walked](const std::string& note) { walked.notes.push_back(note); });
    for (const std::u16string& file : listing.files)
      walked.files.push_back(convertUTF16ToUTF8(file).substr(root().string().size() + 1));
    walked.someUnread = listing.someUnread;
    return walked;
  }

  testing::TempDir dir;
};

TEST_F(FolderWalkLinks, EachFolderIsListedOnceWhateverLeadsToIt) {
  const struct {
    const char* link;
    const char* target;  // relative to the root's folder
    std::vector<std::string> files;
    const char* note;
  } cases[] = {
      // A link to a folder outside is followed like a folder.
      {"b", "elsewhere", {"1.mp3", "a/2.mp3", "b/3.mp3"}, nullptr},
      // To the root itself, to the folder holding it, and between siblings
      // in both directions: each would go round for ever.
      {"a/up", "root", {"1.mp3", "a/2.mp3"}, "a/up', a folder listed already"},
      {"a/self", "root/a", {"1.mp3", "a/2.mp3"}, "a/self', a folder listed already"},
      // The link comes first in natural order, so the folder it leads to is
      // the one skipped.
      {"0", "root/a", {"1.mp3", "0/2.mp3"}, "root/a', a folder listed already"},
  };
  for (const auto& [link, target, files, note] : cases) {
    fs::create_directory_symlink(dir.path() / target, root() / link);
    const Walked walked = walk();
    EXPECT_EQ(walked.files, files) << link;
    if (note) {
      ASSERT_EQ(walked.notes.size(), 1u) << link;
      EXPECT_NE(walked.notes[0].find(note), std::string::npos) << walked.notes[0];
    } else {
      EXPECT_TRUE(walked.notes.empty()) << link;
    }
    fs::remove(root() / link);
  }
}

TEST_F(FolderWalkLinks, TwoFoldersLinkedToEachOtherEndTheWalk) {
  fs::create_directories(root() / "x");
  fs::create_directories(root() / "y");
  fs::create_directory_symlink(root() / "y", root() / "x" / "to_y");
  fs::create_directory_symlink(root() / "x", root() / "y" / "to_x");
  touch(root() / "y" / "4.mp3");
  const Walked walked = walk();
  EXPECT_EQ(walked.files, (std::vector<std::string>{"1.mp3", "a/2.mp3", "x/to_y/4.mp3"}));
  EXPECT_EQ(walked.notes.size(), 2u);
}

TEST_F(FolderWalkLinks, WhatIsNoFileIsNamedButNeverOpened) {
  // A FIFO that were opened would hold the walk for ever.
  ASSERT_EQ(mkfifo((root() / "a" / "pipe.mp3").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo((root() / "a" / "pipe.txt").c_str(), 0644), 0);
  fs::create_symlink(root() / "gone.mp3", root() / "dangling.mp3");
  fs::create_symlink("/dev/null", root() / "null.ogg");
  fs::create_symlink(root() / "1.mp3", root() / "same.mp3");
  const Walked walked = walk();
  // A link to a file is a file: it may have a name of its own.
  EXPECT_EQ(walked.files, (std::vector<std::string>{"1.mp3", "same.mp3", "a/2.mp3"}));
  const std::vector<std::string> expected = {
      "skipping '" + (root() / "dangling.mp3").string() + "', a link to nothing",
      "skipping '" + (root() / "null.ogg").string() + "', not a regular file",
      "skipping '" + (root() / "a" / "pipe.mp3").string() + "', not a regular file"};
  EXPECT_EQ(walked.notes, expected);
  EXPECT_FALSE(walked.someUnread);
}

TEST_F(FolderWalkLinks, AFolderThatCannotBeReadIsNamedAndTheRestListed) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  fs::create_directories(root() / "closed");
  touch(root() / "closed" / "5.mp3");
  fs::permissions(root() / "closed", fs::perms::none);
  const Walked walked = walk();
  fs::permissions(root() / "closed", fs::perms::owner_all);
  EXPECT_EQ(walked.files, (std::vector<std::string>{"1.mp3", "a/2.mp3"}));
  EXPECT_TRUE(walked.someUnread);
  ASSERT_EQ(walked.notes.size(), 1u);
  EXPECT_NE(walked.notes[0].find("cannot read the folder"), std::string::npos);
  const testing::CliResult tags =
      testing::runCli({u"tags", u"--recursive", testing::toU16(root())});
  EXPECT_EQ(tags.status, 1);
  EXPECT_NE(tags.err.find("tunora: cannot read the folder"), std::string::npos) << tags.err;
}

}  // namespace
}  // namespace tunora
