#include "follow/song_follower.h"

namespace tunora {

void SongFollower::onTrack(PlayerTrack track) {
  if (track.empty()) return;
  std::string fingerprint = fingerprintOf(track);
  if (fingerprint != latestFingerprint_) changed_ = true;
  latestFingerprint_ = std::move(fingerprint);
  latest_ = std::move(track);
}

void SongFollower::onPlayerChanged() {
  latestFingerprint_.clear();
  changed_ = false;
}

void SongFollower::onSettled() {
  if (!changed_) return;
  changed_ = false;
  showPage_(latest_);
}

}  // namespace tunora
