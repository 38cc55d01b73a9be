#pragma once
// The file a module was loaded from, however long its path, and keeping this
// module loaded.

#include <windows.h>

#include <optional>
#include <string>

namespace tunora::host {

// The longest path Windows allows, in characters with the terminator.
inline constexpr std::size_t kLongestPathCapacity = 32768;

// The module's file name; nothing when the system names none or the name
// does not fit even the longest path (it would come back cut).
std::optional<std::u16string> moduleFileName(HMODULE module);

// Keeps the module that holds this code loaded until the process ends, for
// code of ours that the player may still call after unloading us.
void keepThisModuleLoaded();

}  // namespace tunora::host
