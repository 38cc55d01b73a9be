#pragma once
// The page of the song a player on the session bus plays, as follow and
// serve build it: read by Tunora where it can read the file, described from
// the player's metadata where it cannot.

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "follow/player_track.h"
#include "htmlcreator/page_builder.h"

namespace tunora {

// The player's texts go to a terminal, where control characters could move
// the cursor or clear the screen.
std::string printable(std::string text);
// A text of the player, quoted and printable.
std::string shown(std::u16string_view text);

// --template and --skin before any page is built: 0 when both can be used,
// else the status to end with, the reason written to `err`.
int checkPageOptions(const std::optional<std::u16string>& templatePath,
                     const std::optional<std::u16string>& skinFolder, std::FILE* err);

// `report` gets one line for each problem met on the way.
BuiltPage buildFollowedPage(const HtmlCreator& creator, const PageSettings& settings,
                            const PageColours& colours, const PlayerTrack& track,
                            const std::function<void(const std::string&)>& report);

// What the page is about, for a line on the terminal: its title as the page
// has it, cut like every text of the player, or the file's name.
std::string followedSubject(const PlayerTrack& track);

}  // namespace tunora
