#include "host/playlist_menu.h"

namespace tunora::host {

bool addPlaylistMenuItems(HMENU menu) {
  if (menu == nullptr) return false;
  return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) &&
         AppendMenuA(menu, MF_STRING, kMenuShowSelected, "Show Details in Minibrowser") &&
         AppendMenuA(menu, MF_STRING, kMenuShowDirectory, "Show Details (Directory)") &&
         AppendMenuA(menu, MF_STRING, kMenuCoverSearch, "Cover-Search");
}

}  // namespace tunora::host
