#pragma once
// Modal dialogs of the plug-in block the thread that opens them, as in the
// player. A test hands its steps to the dialog's own message loop: a thread
// timer finds the dialog by its title once it is up and runs the steps,
// which end by closing it.

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

namespace tunora::standin {

struct DialogRun {
  // The steps ran on the dialog.
  bool found = false;
  // Dialogs of the same title that came up while the steps ran; they were
  // closed at once.
  int secondDialogs = 0;
};

// Calls `open`, which opens the dialog titled `title` modally, and runs
// `steps` on the dialog once it is shown.
DialogRun whileDialogOpen(const std::string& title, const std::function<void(HWND)>& steps,
                          const std::function<void()>& open);

// Clicks a button of the dialog as the user does.
void click(HWND dialog, int id);
// Delivers this thread's messages until the control is enabled (work the
// dialog handed to another thread has come back); false after `limitMs`.
bool waitUntilEnabled(HWND dialog, int id, DWORD limitMs = 20000);
std::string controlText(HWND dialog, int id);

// A 24-bit bitmap file of what the screen shows of `window`'s client area.
bool saveWindowPicture(HWND window, const std::filesystem::path& path);

}  // namespace tunora::standin
