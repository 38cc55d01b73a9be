#pragma once
// The debug log's console seam: a console window titled "Debug Window" on
// Windows (debug_console_win32.cpp); elsewhere there is none
// (debug_console_posix.cpp) and the log keeps its stream.

namespace tunora {

// Opens the console and sends the debug log there; false when no console
// could be opened.
bool openDebugConsole();

}  // namespace tunora
