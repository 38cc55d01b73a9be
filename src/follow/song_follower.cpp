#include "follow/song_follower.h"

namespace tunora {

void SongFollower::onTrack(PlayerTrack track) {
  if (track.empty()) return;
  tracker_.onTitle(fingerprintOf(track));
  latest_ = std::move(track);
}

void SongFollower::onPlayerChanged() {
  tracker_ = SongChangeTracker();
}

void SongFollower::onSettled() {
  if (tracker_.onTimer(kTimerPageUpdate) == SongChangeAction::UpdatePage) showPage_(latest_);
}

}  // namespace tunora
