#pragma once
// The Media Library's item list (a list view): which item a click is about,
// and the values of its Artist, Album and Title columns.

#include <windows.h>

#include <optional>

#include "dispatch/library_query.h"

namespace tunora::host {

// Headers and item texts are read up to this many characters.
inline constexpr std::size_t kLibraryTextMaxLength = 1023;

// The first selected item, or item 0 when none is; nothing for an empty list.
std::optional<int> clickedLibraryItem(HWND list);

// The item's values in the columns the list has, found by walking its
// columns from the first until the list has no more.
LibraryItemValues libraryItemValues(HWND list, int item);

}  // namespace tunora::host
