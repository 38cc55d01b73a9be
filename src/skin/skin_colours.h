#pragma once
// The page colours from the player's current skin: a modern skin (one with
// "skin.xml") gives them from the generic colour table, a classic skin from
// its "pledit.txt".

#include "hostlink/host_link.h"
#include "skin/generic_colour_table.h"
#include "skin/page_colours.h"

namespace tunora {

// Asked before every page. Without a skin folder (the default skin, or no
// player), or with neither file in it, the colours keep their values, so a
// switch back to the default skin keeps the last skin's colours. Without a
// generic skin bitmap the table keeps what it holds.
void refreshSkinColours(const HostLink& host, GenericColourTable& table, PageColours& colours);

}  // namespace tunora
