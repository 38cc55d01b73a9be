#pragma once
// The system's save dialog, asked for a file name to save a cover as.

#include <optional>
#include <string>

namespace tunora::host {

// Starts in `folder` (the dialog's default without one) with `suggested` in
// the name field; the name as typed (no extension added), nothing when the
// user cancels. Existing files are overwritten only after the user agrees.
std::optional<std::string> askSaveFileName(const std::optional<std::string>& folder,
                                           const std::string& suggested);

}  // namespace tunora::host
