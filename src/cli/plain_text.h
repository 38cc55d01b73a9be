#pragma once
// Text from files and servers on its way to a terminal: an escape sequence in
// a tag or a store's page must not move the cursor, retitle the window or
// worse. Plain output shows such characters as "\x1b".

#include <string>
#include <string_view>

namespace tunora {

// UTF-8 text with every control character but the tab written as "\xHH":
// the C0 set and DEL byte by byte, the C1 set (U+0080 to U+009F) as "\u00HH".
// Everything else, bytes that are no UTF-8 too, passes unchanged.
std::string escapeControls(std::string_view text);
// The same, but line feeds and carriage returns stay: for values whose line
// breaks are kept, as CSV keeps them.
std::string escapeControlsKeepingLineBreaks(std::string_view text);

}  // namespace tunora
