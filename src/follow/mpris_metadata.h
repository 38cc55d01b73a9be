#pragma once
// Reading a player's track metadata (a D-Bus dictionary of string keys and
// variant values) from a message. A value of an unexpected type is left out,
// as is any key the page has no use for.

#include "follow/player_track.h"

struct sd_bus_message;

namespace tunora {

// Reads the dictionary at the message's read position ("a{sv}"); false when
// the message ends or breaks off early, with what was read so far in `track`.
bool readMetadata(sd_bus_message* message, PlayerTrack& track);

}  // namespace tunora
