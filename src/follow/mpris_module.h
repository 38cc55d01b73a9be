#pragma once
// The bus watch lives in a module of its own that links libsystemd
// (io/private_module.h). This is the module's one entry point, as
// followPlayers.

#include <cstdio>
#include <optional>
#include <string>

#include "follow/mpris_follow.h"

namespace tunora {

inline constexpr char kFollowPlayersEntry[] = "tunora_follow_players";
extern "C" [[gnu::visibility("default")]] int tunora_follow_players(
    const std::optional<std::string>& player, PlayerEvents& events, std::FILE* err);

}  // namespace tunora
