#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cli/cli.h"
#include "support/scratch_stream.h"

namespace tunora {
namespace {

using namespace std::chrono_literals;
using Time = std::chrono::steady_clock::time_point;

// A stream to draw on, a clock the test moves, and what was written.
class ProgressLineTest : public ::testing::Test {
 protected:
  std::unique_ptr<ProgressLine> line(std::size_t total, bool toTerminal = true) {
    return std::make_unique<ProgressLine>(stream_.get(), total, toTerminal,
                                          [this] { return now_; });
  }

  std::string written() { return stream_.contents(); }

  testing::ScratchStream stream_;
  Time now_{};
};

TEST_F(ProgressLineTest, QuietForTheFirstSecondAndOffATerminal) {
  {
    auto quick = line(1000);
    for (int i = 0; i < 999; ++i) quick->advance();
    now_ += 999ms;
    quick->advance();
  }
  EXPECT_EQ(written(), "");

  {
    auto toFile = line(10, false);
    now_ += 60s;
    for (int i = 0; i < 10; ++i) toFile->advance();
  }
  EXPECT_EQ(written(), "");
}

TEST_F(ProgressLineTest, ShowsCountAndRateAfterASecondAndEndsOnItsOwnLine) {
  auto progress = line(40);
  for (int i = 0; i < 19; ++i) progress->advance();
  EXPECT_EQ(written(), "");
  now_ += 1s;
  progress->advance();
  EXPECT_EQ(written(), "\r20/40 files, 20 files/s");
  for (int i = 0; i < 20; ++i) progress->advance();
  now_ += 1s;
  progress.reset();
  EXPECT_EQ(written(), "\r20/40 files, 20 files/s\r40/40 files, 20 files/s\n");
}

TEST_F(ProgressLineTest, RedrawsAtMostTenTimesASecond) {
  auto progress = line(100000);
  now_ += 1s;
  for (int i = 0; i < 5000; ++i) progress->advance();
  now_ += 99ms;
  for (int i = 0; i < 5000; ++i) progress->advance();
  EXPECT_EQ(written(), "\r1/100000 files, 1 files/s");
  now_ += 1ms;
  progress->advance();
  EXPECT_EQ(written(), "\r1/100000 files, 1 files/s\r10001/100000 files, 9092 files/s");
}

TEST_F(ProgressLineTest, ClearsForAMessageAndComesBackAtTheNextFile) {
  auto progress = line(3);
  now_ += 10s;
  progress->advance();  // 0.1 files/s rounds to 0
  progress->clear();
  progress->clear();  // already off the screen
  const std::string cleared = "\r1/3 files, 0 files/s\r" + std::string(20, ' ') + "\r";
  EXPECT_EQ(written(), cleared);

  progress->advance();  // at once, though not 100 ms later
  progress->advance();
  progress->finish();
  progress->finish();
  progress.reset();
  EXPECT_EQ(written(), cleared + "\r2/3 files, 0 files/s\r3/3 files, 0 files/s\n");
}

TEST_F(ProgressLineTest, ShorterLineIsPaddedOverTheLongerOne) {
  auto progress = line(10);
  now_ += 1s;
  for (int i = 0; i < 10; ++i) progress->advance();  // drawn at the first: 1 files/s
  now_ += 100ms;
  progress->advance();  // 11 files in 1.1 s: 10 files/s, one digit wider
  now_ += 20s;
  progress.reset();  // 11 files in 21.1 s: 1 files/s, padded by one space
  EXPECT_EQ(written(),
            "\r1/10 files, 1 files/s\r11/10 files, 10 files/s\r11/10 files, 1 files/s \n");
}

TEST(ProgressOfCommands, NothingOnAStreamThatIsNoTerminal) {
  testing::ScratchStream err;
  ProgressLine real(err.get(), 5);
  for (int i = 0; i < 5; ++i) real.advance();
  real.finish();
  EXPECT_EQ(std::ftell(err.get()), 0);
}

}  // namespace
}  // namespace tunora
