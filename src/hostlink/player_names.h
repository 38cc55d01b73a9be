#pragma once
// The player's own names and numbers that the portable code must know: the
// name of its executable, beside which its files lie, and the command and
// timers of its main window around a song change. Their meaning is the
// player's; the window messages themselves are the plug-in's concern.

#include <cstdint>
#include <string_view>

namespace tunora {

// Compared without regard to letter case.
inline constexpr std::u16string_view kPlayerExecutableName = u"winamp.exe";

// The player sends this command to its main window when the next title is to
// start a song anew.
inline constexpr std::uint16_t kCommandResetSongChange = 40047;
// The timer a new page waits for, and the one that, coming first, drops the
// song change.
inline constexpr std::uintptr_t kTimerPageUpdate = 42;
inline constexpr std::uintptr_t kTimerSongChangeDropped = 38;

}  // namespace tunora
