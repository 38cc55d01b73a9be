#pragma once
// The system's save dialog, asked for a file name to save a cover as.

#include <optional>
#include <string>

namespace tunora::host {

// Starts in `folder` (the dialog's default without one) with `suggested` in
// the name field; the name as typed (no extension added), nothing when the
// user cancels. Existing files are overwritten only after the user agrees.
// The dialog is owned by the window active when it opens (the one whose
// button asked), so that window takes no input meanwhile.
std::optional<std::string> askSaveFileName(const std::optional<std::string>& folder,
                                           const std::string& suggested);

// Cancels the save dialog open in this thread, if any, as its Cancel button
// does: the dialog that asked cannot end while the save dialog's loop runs
// inside it.
void endSaveFileDialog();

}  // namespace tunora::host
