#pragma once
// The developers' trace sink. Nothing reads it back and nothing depends on it.

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace tunora {

// Longest line the log formats; text beyond it is cut off.
inline constexpr std::size_t kDebugLogLineLimit = 2999;

// Whether the log goes anywhere: callers skip building costly arguments
// when it does not.
bool debugLogWanted();

// printf-style; returns the number of characters written (after the cut),
// 0 when the log goes nowhere: nothing is formatted then.
int debugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// 16-bit text, written as UTF-8 (cut at the same limit, counted in units).
int debugLogText(std::u16string_view text);

// Where the log goes while no console is open: standard output by default.
// The command-line tool turns it off (nullptr) so that it cannot mix with its
// own output, or sends it to standard error with --debug.
void setDebugLogStream(std::FILE* stream);

// A place the log goes before the stream: a console window of the platform
// (io/debug_console.h sets it). It returns false when it took nothing, and
// the text then goes to the stream. Null removes it.
using DebugLogConsole = bool (*)(std::string_view text);
void setDebugLogConsole(DebugLogConsole console);

}  // namespace tunora
