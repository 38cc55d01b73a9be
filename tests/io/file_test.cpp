#include "io/file.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>

#include "support/file_attributes.h"
#include "support/temp_dir.h"
#include "text/conversions.h"
#include "text/path_parts.h"

namespace tunora {
namespace {

using testing::TempDir;

TEST(FileHelpers, ExistenceDeletionAndFolders) {
  TempDir dir;
  const std::string file = (dir.path() / "a.txt").string();
  EXPECT_FALSE(fileExists(file));
  ASSERT_TRUE(writeWholeFile(pathFromNative(file), std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_TRUE(fileExists(file));
  EXPECT_TRUE(deleteFile(file));
  EXPECT_FALSE(fileExists(file));
  EXPECT_TRUE(deleteFile(file));  // already gone counts as deleted

  const std::string folder = dir.path().string();
  EXPECT_TRUE(folderExists(folder));
  EXPECT_TRUE(folderExists(folder + std::string(1, kPathSeparator)));
  EXPECT_FALSE(fileExists(folder));  // a directory is no readable file
  EXPECT_FALSE(folderExists(folder + "/missing"));
}

TEST(FileHelpers, FolderWithOtherAttributeIsNotPlainFolder) {
  TempDir dir;
  const auto folder = dir.path() / "marked";
  std::filesystem::create_directory(folder);
  if (!testing::markWithOtherAttribute(folder)) GTEST_SKIP() << "no such attribute here";
  EXPECT_FALSE(folderExists(folder.string()));
  testing::clearOtherAttribute(folder);
  EXPECT_TRUE(folderExists(folder.string()));
}

TEST(FileHelpers, TempFileNamesAreNewEmptyFiles) {
  const std::string first = makeTempFileName();
  const std::string second = makeTempFileName();
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_NE(fileNameOf(std::string_view(first)).find("tup"), std::string::npos);
  EXPECT_TRUE(fileExists(first));
  EXPECT_TRUE(deleteFile(first));
  EXPECT_TRUE(deleteFile(second));
}

TEST(FileHelpers, ReadBytesNeedsEveryByte) {
  TempDir dir;
  const auto path = dir.file("bytes.bin");
  ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>{1, 2, 3, 4}));
  auto file = File::open(path, File::Mode::Read);
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->seek(1));
  EXPECT_EQ(readBytes(*file, 3), (std::vector<std::uint8_t>{2, 3, 4}));
  ASSERT_TRUE(file->seek(2));
  EXPECT_FALSE(readBytes(*file, 3));
  EXPECT_FALSE(file->readAt(5, 0));
  EXPECT_EQ(file->size(), 4);
}

TEST(FileHelpers, ReadsAtOffsetsLeaveThePositionAndSurviveAMove) {
  TempDir dir;
  const auto path = dir.file("ten.bin");
  ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  auto opened = File::open(path, File::Mode::Read);
  ASSERT_TRUE(opened);
  File file = std::move(*opened);
  std::array<std::uint8_t, 4> buffer{};
  // The first and the last bytes, and a read that runs past the end.
  EXPECT_EQ(file.readAt(0, buffer), 4u);
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 4>{0, 1, 2, 3}));
  EXPECT_EQ(file.readAt(6, buffer), 4u);
  EXPECT_EQ(buffer[3], 9);
  EXPECT_EQ(file.readAt(8, buffer), 2u);
  EXPECT_EQ(file.readAt(10, buffer), 0u);
  EXPECT_EQ(file.readAt(-1, buffer), 0u);
  EXPECT_EQ(file.tell(), 0);
  // Sequential reads go on from the position.
  EXPECT_EQ(file.read(buffer), 4u);
  EXPECT_EQ(file.read(buffer), 4u);
  EXPECT_EQ(buffer[0], 4);
  EXPECT_EQ(file.read(buffer), 2u);
  EXPECT_EQ(file.tell(), 10);
  EXPECT_FALSE(file.seek(-1));
  EXPECT_EQ(file.readAt(10, 0), std::vector<std::uint8_t>{});
  EXPECT_TRUE(file.close());
  EXPECT_FALSE(file.close());
  EXPECT_EQ(file.size(), -1);
  EXPECT_EQ(file.readAt(0, buffer), 0u);
}

TEST(FileHelpers, WrittenFilesKnowTheirSize) {
  TempDir dir;
  const auto path = dir.file("written.bin");
  auto file = File::open(path, File::Mode::CreateNew);
  ASSERT_TRUE(file);
  // A name that is taken is never opened for writing.
  EXPECT_FALSE(File::open(path, File::Mode::CreateNew));
  EXPECT_EQ(file->size(), 0);
  ASSERT_TRUE(file->write(std::vector<std::uint8_t>{1, 2, 3}));
  ASSERT_TRUE(file->write(std::vector<std::uint8_t>{}));
  ASSERT_TRUE(file->seek(1));
  ASSERT_TRUE(file->write(std::vector<std::uint8_t>{7}));
  EXPECT_EQ(file->size(), 3);
  std::array<std::uint8_t, 1> byte{};
  EXPECT_EQ(file->read(byte), 0u);  // opened for writing only
  ASSERT_TRUE(file->close());
  EXPECT_EQ(readWholeFile(path), (std::vector<std::uint8_t>{1, 7, 3}));
  // An empty file is read whole as no bytes at all.
  ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>{}));
  EXPECT_EQ(readWholeFile(path), std::vector<std::uint8_t>{});
}

// A file that already holds the bytes is not written again; any other
// difference, the smallest included, is.
TEST(FileHelpers, WritingOnlyWhatChanged) {
  testing::TempDir dir;
  const std::u16string path = dir.file("cover.jpg");
  const auto fsPath = toFsPath(path);
  using Clock = std::filesystem::file_time_type::clock;
  // Set an hour back before each write; a write moves it to now. (File
  // systems keep the time more coarsely than the clock gives it.)
  const auto setBack = [&] {
    std::filesystem::last_write_time(fsPath, Clock::now() - std::chrono::hours(1));
  };
  const auto written = [&] {
    return std::filesystem::last_write_time(fsPath) > Clock::now() - std::chrono::minutes(30);
  };
  EXPECT_TRUE(writeWholeFileIfChanged(path, std::vector<std::uint8_t>{1, 2, 3}));
  setBack();
  EXPECT_TRUE(writeWholeFileIfChanged(path, std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_FALSE(written());
  for (const std::vector<std::uint8_t>& other :
       {std::vector<std::uint8_t>{1, 2, 4}, std::vector<std::uint8_t>{1, 2, 4, 0},
        std::vector<std::uint8_t>{}}) {
    setBack();
    EXPECT_TRUE(writeWholeFileIfChanged(path, other));
    EXPECT_EQ(readWholeFile(path), other);
    EXPECT_TRUE(written());
  }
}

TEST(FileHelpers, NonAsciiAndVeryLongPaths) {
  TempDir dir;
  const auto path = dir.file("K\xC3\xB6ln \xE2\x82\xAC.txt");
  ASSERT_TRUE(writeWholeFile(path, std::vector<std::uint8_t>{42}));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / std::u8string(u8"K\u00F6ln \u20AC.txt")));
  EXPECT_EQ(readWholeFile(path), (std::vector<std::uint8_t>{42}));

  const std::u16string longPath = dir.file(std::string(5000, 'x') + ".mp3");
  EXPECT_FALSE(File::open(longPath, File::Mode::Read));
  EXPECT_FALSE(writeWholeFile(longPath, std::vector<std::uint8_t>{1}));
}

}  // namespace
}  // namespace tunora
