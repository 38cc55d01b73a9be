#pragma once
// The Media Library's web-browser pane, reached the way accessibility tools
// reach an embedded browser: the document object of its "Internet
// Explorer_Server" window, then the browser that serves the document.

#include <windows.h>

#include <string_view>

namespace tunora::host {

// Opens `path` in the pane's browser, setting `ownNavigation` first; false
// when a window, the accessibility library or an interface is missing.
bool navigatePane(HWND pane, std::u16string_view path, bool& ownNavigation);

}  // namespace tunora::host
