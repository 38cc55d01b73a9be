#pragma once
// The system's save dialog, asked for a file name to save a cover as.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tunora::host {

// The name field, in bytes with the terminator: the longest path Windows
// allows, 32767 characters, each of which may take two bytes in the
// player's 8-bit code page.
inline constexpr std::size_t kSaveNameCapacity = 2 * 32767 + 1;

// Starts in `folder` (the dialog's default without one) with `suggested` in
// the name field; the name as typed (no extension added), nothing when the
// user cancels. Existing files are overwritten only after the user agrees.
// The dialog is owned by the window active when it opens (the one whose
// button asked), so that window takes no input meanwhile.
// A choice too long for the name field is not taken: a message box says so.
std::optional<std::string> askSaveFileName(const std::optional<std::string>& folder,
                                           const std::string& suggested);

// The same with a name field of `capacity` bytes. A suggestion that does not
// fit leaves the field empty; a choice that does not fit gives nothing, and
// `refuse` is told why. Never is a name cut.
std::optional<std::string> askSaveFileNameWithin(
    const std::optional<std::string>& folder, const std::string& suggested, std::size_t capacity,
    const std::function<void(const char* why)>& refuse);

// Cancels the save dialog open in this thread, if any, as its Cancel button
// does: the dialog that asked cannot end while the save dialog's loop runs
// inside it.
void endSaveFileDialog();

}  // namespace tunora::host
