// The tool's side of the bus watch: the module is opened on the first follow.

#include <cerrno>
#include <cstring>

#include "follow/mpris_module.h"
#include "io/private_module.h"

namespace tunora {

int followPlayers(const std::optional<std::string>& player, PlayerEvents& events, std::FILE* err) {
  static auto* const follow = privateModuleFunction<decltype(tunora_follow_players)>(
      TUNORA_MPRIS_MODULE, kFollowPlayersEntry);
  if (follow) return follow(player, events, err);
  std::fprintf(err, "tunora: cannot reach the session bus: %s\n", std::strerror(ELIBACC));
  std::fflush(err);
  return 1;
}

}  // namespace tunora
