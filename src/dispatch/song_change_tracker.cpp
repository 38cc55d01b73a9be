#include "dispatch/song_change_tracker.h"

namespace tunora {

void SongChangeTracker::onTitle(std::string_view title) {
  if (title != playingTitle_) titleChanged_ = true;
  if (title.size() < kTitleCapacity) playingTitle_ = title;
}

void SongChangeTracker::onCommand(std::uintptr_t wParam) {
  if ((wParam & 0xFFFF) != kCommandResetSongChange) return;
  titleChanged_ = false;
  timerSeen_ = false;
}

SongChangeAction SongChangeTracker::onTimer(std::uintptr_t timer) {
  if (!titleChanged_) return SongChangeAction::None;
  if (timer == kTimerPageUpdate) {
    timerSeen_ = true;
    titleChanged_ = false;
    return SongChangeAction::UpdatePage;
  }
  // Timer 38 before the first timer 42 after a reset drops the change.
  if (timer == kTimerSongChangeDropped && !timerSeen_) {
    timerSeen_ = true;
    titleChanged_ = false;
  }
  return SongChangeAction::None;
}

}  // namespace tunora
