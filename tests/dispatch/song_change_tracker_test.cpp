#include "dispatch/song_change_tracker.h"

#include <gtest/gtest.h>

#include <string>

namespace tunora {
namespace {

constexpr auto kUpdate = SongChangeAction::UpdatePage;
constexpr auto kNothing = SongChangeAction::None;

TEST(SongChangeTracker, TwoTitleChangesBeforeTimer42GiveOneUpdate) {
  SongChangeTracker tracker;
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kNothing);  // no title yet
  tracker.onTitle("1. First - Player");
  tracker.onTitle("2. Second - Player");
  EXPECT_EQ(tracker.onTimer(7), kNothing);  // other timers leave the change pending
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kNothing);
  // The same title again is no change; a new one is.
  tracker.onTitle("2. Second - Player");
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kNothing);
  tracker.onTitle("3. Third - Player");
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
}

TEST(SongChangeTracker, Timer38BeforeTheFirstTimer42DropsTheChange) {
  SongChangeTracker tracker;
  tracker.onTitle("1. First - Player");
  EXPECT_EQ(tracker.onTimer(kTimerSongChangeDropped), kNothing);
  EXPECT_FALSE(tracker.titleChanged());
  EXPECT_TRUE(tracker.timerSeen());
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kNothing);

  // Once a timer was seen, timer 38 no longer drops anything.
  tracker.onTitle("2. Second - Player");
  EXPECT_EQ(tracker.onTimer(kTimerSongChangeDropped), kNothing);
  EXPECT_TRUE(tracker.titleChanged());
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
}

TEST(SongChangeTracker, Command40047ResetsBothFlags) {
  SongChangeTracker tracker;
  tracker.onTitle("1. First - Player");
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
  tracker.onTitle("2. Second - Player");
  // Only the low 16 bits name the command.
  tracker.onCommand(0x10000u + 40046);
  EXPECT_TRUE(tracker.titleChanged());
  tracker.onCommand(0x10000u + kCommandResetSongChange);
  EXPECT_FALSE(tracker.titleChanged());
  EXPECT_FALSE(tracker.timerSeen());
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kNothing);

  // After the reset the first change is dropped again by an early timer 38.
  tracker.onTitle("3. Third - Player");
  EXPECT_EQ(tracker.onTimer(kTimerSongChangeDropped), kNothing);
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kNothing);
}

TEST(SongChangeTracker, TitlesOf260BytesOrMoreAreChangesEveryTime) {
  for (const std::size_t length : {std::size_t{259}, std::size_t{260}, std::size_t{300}}) {
    SCOPED_TRACE(length);
    const std::string title(length, 'x');
    SongChangeTracker tracker;
    tracker.onTitle(title);
    EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
    tracker.onTitle(title);
    const bool kept = length < kTitleCapacity;
    EXPECT_EQ(tracker.titleChanged(), !kept);
    EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kept ? kNothing : kUpdate);
  }
}

TEST(SongChangeTracker, TitlesAreComparedByteByByte) {
  SongChangeTracker tracker;
  tracker.onTitle("Song");
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
  tracker.onTitle("song");
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
  tracker.onTitle("song\xE9");
  EXPECT_EQ(tracker.onTimer(kTimerPageUpdate), kUpdate);
}

}  // namespace
}  // namespace tunora
