#include "io/file_blocks.h"

#include <gtest/gtest.h>

#include <limits>

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

}  // namespace
}  // namespace tunora
