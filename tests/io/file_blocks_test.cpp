#include "io/file_blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tunora {
namespace {

// A file whose every byte tells its position (modulo 251, a prime, so that
// blocks at different offsets differ).
class FileBlocksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    contents_.resize(20000);
    for (std::size_t i = 0; i < contents_.size(); ++i)
      contents_[i] = static_cast<std::uint8_t>(i % 251);
    ASSERT_TRUE(writeWholeFile(dir_.file("f.bin"), contents_));
    file_ = File::open(dir_.file("f.bin"), File::Mode::Read);
    blocks_.emplace(*file_, file_->size());
  }
  bool readsTheFile(std::int64_t offset, std::uint64_t count) {
    const auto block = blocks_->read(offset, count);
    if (!block || block->size() != count) return false;
    return std::equal(block->begin(), block->end(), contents_.begin() + offset);
  }
  testing::TempDir dir_;
  std::vector<std::uint8_t> contents_;
  std::optional<File> file_;
  std::optional<FileBlocks> blocks_;
};

TEST_F(FileBlocksTest, EveryReadGivesTheFileBytes) {
  // Head, its read-ahead, the tail, blocks across both and across the middle.
  EXPECT_TRUE(readsTheFile(0, 10));
  EXPECT_TRUE(readsTheFile(5, 4000));
  EXPECT_TRUE(readsTheFile(19872, 128));
  EXPECT_TRUE(readsTheFile(19840, 32));
  EXPECT_TRUE(readsTheFile(0, 9000));
  EXPECT_TRUE(readsTheFile(8990, 30));
  EXPECT_TRUE(readsTheFile(10000, 7000));
  EXPECT_TRUE(readsTheFile(15000, 5000));
  EXPECT_TRUE(readsTheFile(0, 20000));
  EXPECT_TRUE(readsTheFile(20000, 0));
  EXPECT_TRUE(readsTheFile(3, 1));
}

TEST_F(FileBlocksTest, BlocksBeyondTheFileGiveNothing) {
  EXPECT_FALSE(blocks_->read(-1, 1));
  EXPECT_FALSE(blocks_->read(19990, 11));
  EXPECT_FALSE(blocks_->read(20001, 0));
  EXPECT_FALSE(blocks_->read(0, std::numeric_limits<std::uint64_t>::max()));
  EXPECT_FALSE(blocks_->read(std::numeric_limits<std::int64_t>::max(), 1));
  EXPECT_TRUE(readsTheFile(19990, 10));
}

// An MP4 reader reads the media data's header far on, then goes back to the
// movie's tracks near the start: those come from the head window, not from
// another read (the file's first bytes are changed in place in between).
TEST_F(FileBlocksTest, AFarBlockLeavesTheStartForTheBlocksReadAgain) {
  ASSERT_TRUE(readsTheFile(0, 100));
  ASSERT_TRUE(readsTheFile(12000, 16));
  {
    std::fstream file(toFsPath(dir_.file("f.bin")),
                      std::ios::in | std::ios::out | std::ios::binary);
    file.write(std::string(200, '\xFF').data(), 200);
  }
  EXPECT_TRUE(readsTheFile(152, 40));
  EXPECT_TRUE(readsTheFile(12004, 8));
}

TEST_F(FileBlocksTest, BlocksStepOverGapsAndBackAsTheReadersDo) {
  // A FLAC walk: a header, a block a little further on, a large block behind
  // it, then the one skipped before; then a jump far on and back to the start.
  EXPECT_TRUE(readsTheFile(0, 4));
  EXPECT_TRUE(readsTheFile(5000, 4));
  EXPECT_TRUE(readsTheFile(5004, 8000));
  EXPECT_TRUE(readsTheFile(46, 4900));
  EXPECT_TRUE(readsTheFile(15000, 16));
  EXPECT_TRUE(readsTheFile(2, 3));
  EXPECT_TRUE(readsTheFile(15990, 10));
}

TEST(FileBlocksSizes, TheSmallestFilesAndAFileLargerThanEveryWindow) {
  testing::TempDir dir;
  for (const std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 300000u}) {
    std::vector<std::uint8_t> contents(size);
    for (std::size_t i = 0; i < size; ++i) contents[i] = static_cast<std::uint8_t>(i * 7 + 1);
    ASSERT_TRUE(writeWholeFile(dir.file("f.bin"), contents));
    auto file = File::open(dir.file("f.bin"), File::Mode::Read);
    ASSERT_TRUE(file);
    FileBlocks blocks(*file, file->size());
    const auto whole = blocks.read(0, size);
    ASSERT_TRUE(whole) << size;
    EXPECT_TRUE(std::equal(whole->begin(), whole->end(), contents.begin(), contents.end())) << size;
    EXPECT_FALSE(blocks.read(0, size + 1)) << size;
    if (size == 0) continue;
    const auto last = blocks.read(static_cast<std::int64_t>(size) - 1, 1);
    ASSERT_TRUE(last) << size;
    EXPECT_EQ((*last)[0], contents.back()) << size;
    // Head reads in steps, as a scan takes them, then the tail again.
    for (std::size_t at = 0; at + 100 <= size; at += 65536) {
      const auto step = blocks.read(static_cast<std::int64_t>(at), 100);
      ASSERT_TRUE(step) << size << " " << at;
      EXPECT_EQ((*step)[99], contents[at + 99]);
    }
    EXPECT_EQ((*blocks.read(0, 1))[0], contents[0]) << size;
  }
}

}  // namespace
}  // namespace tunora
