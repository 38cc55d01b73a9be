#pragma once
// Following the media players on the session bus: the named player, or the
// first one that plays. Players may start, quit and restart while this runs;
// it ends on SIGINT or SIGTERM.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "follow/player_track.h"

namespace tunora {

inline constexpr std::string_view kPlayerBusPrefix = "org.mpris.MediaPlayer2.";

// "mpv" names the player "org.mpris.MediaPlayer2.mpv"; a full bus name stays.
inline std::string playerBusName(std::string_view player) {
  if (player.starts_with(kPlayerBusPrefix)) return std::string(player);
  return std::string(kPlayerBusPrefix) + std::string(player);
}

// True when `busName` is the player `wanted` (a full bus name) or one of its
// instances ("org.mpris.MediaPlayer2.vlc.instance4711").
inline bool namesPlayer(std::string_view busName, std::string_view wanted) {
  return busName.starts_with(wanted) &&
         (busName.size() == wanted.size() || busName[wanted.size()] == '.');
}

// What the bus watch tells its listener, in the order the player speaks.
class PlayerEvents {
 public:
  // The followed player's metadata as it announced it.
  virtual void onTrack(PlayerTrack track) = 0;
  // Another player is followed from now on.
  virtual void onPlayerChanged() = 0;
  // The followed player has been quiet for the settle delay since its last
  // announcement.
  virtual void onSettled() = 0;

 protected:
  ~PlayerEvents() = default;
};

// Feeds the followed player's announcements to `events`. Which player is
// followed, and why none is, goes to `err`. 0 after a signal to end; 1 when
// the session bus cannot be reached, also where libsystemd is missing.
int followPlayers(const std::optional<std::string>& player, PlayerEvents& events, std::FILE* err);

}  // namespace tunora
