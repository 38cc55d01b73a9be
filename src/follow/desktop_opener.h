#pragma once
// Opening a file the way the desktop opens it when it is double-clicked.

#include <string>

namespace tunora {

// Starts the desktop's opener on `path` without waiting for what it opens;
// false (with `error`) when there is no opener.
bool openWithDesktop(const std::u16string& path, std::string& error);

}  // namespace tunora
