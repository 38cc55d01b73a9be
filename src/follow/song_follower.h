#pragma once
// Turns a player's track announcements into pages: a track that differs from
// the one announced before is noted, and its page is built once the player
// has been quiet for a moment, since players announce a new track in several
// steps (first the file, then its tags).

#include <chrono>
#include <functional>
#include <string>

#include "follow/mpris_follow.h"
#include "follow/player_track.h"

namespace tunora {

// How long a player must be quiet after an announcement before its track
// counts as settled.
inline constexpr std::chrono::milliseconds kSettleDelay{200};

class SongFollower final : public PlayerEvents {
 public:
  using ShowPage = std::function<void(const PlayerTrack&)>;
  explicit SongFollower(ShowPage showPage) : showPage_(std::move(showPage)) {}

  // The followed player's metadata; a stopped player's empty metadata is
  // passed over, so the page of its last track stays.
  void onTrack(PlayerTrack track) override;
  // Another player is followed: its track gets a page even when it is the one
  // shown already.
  void onPlayerChanged() override;
  // The settle delay passed since the last announcement: builds the page if
  // the track differs from the one shown.
  void onSettled() override;

 private:
  std::string latestFingerprint_;
  bool changed_ = false;
  PlayerTrack latest_;
  ShowPage showPage_;
};

}  // namespace tunora
