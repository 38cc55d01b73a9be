#pragma once
// The page colours of a classic skin, from its playlist configuration
// "pledit.txt": lines such as "Normal=#00FF00".

#include "skin/page_colours.h"
#include "text/text_lines.h"

namespace tunora {

// Takes "Current=#", "Normal=#", "NormalBG=#" and "SelectedBG=#" from the
// first line that contains each key, unless that line is the buffer's last.
// The colour is the six units after the line's first "#", kept in the file's
// letter case; a colour whose value is short or not six hexadecimal digits
// keeps its previous value.
void readPlaylistColours(const TextLines& pledit, PageColours& colours);

}  // namespace tunora
