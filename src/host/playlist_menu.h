#pragma once
// The plug-in's items in the playlist window's popup menu.

#include <windows.h>

namespace tunora::host {

inline constexpr UINT kMenuShowSelected = 6666;
inline constexpr UINT kMenuShowDirectory = 6667;
inline constexpr UINT kMenuCoverSearch = 6668;

// Appends a separator and the three items after the menu's own; false when
// the menu could not take them.
bool addPlaylistMenuItems(HMENU menu);

}  // namespace tunora::host
