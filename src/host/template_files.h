#pragma once
// What the preferences dialog asks of the system for a template file: the
// open-file dialog to pick one and the shell's "edit" action to change it.
// Held as functions, so that tests can answer in place of the user.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace tunora::host {

// The picker's result buffer, in characters with the terminator: the
// longest path Windows allows.
inline constexpr std::size_t kPickedPathCapacity = 32768;

struct TemplateFileActions {
  // The file the user picked; nothing when the picker was cancelled.
  std::function<std::optional<std::u16string>(HWND owner)> pick;
  // Opens the file with the shell's "edit" action for its type.
  std::function<void(const std::u16string& path)> edit;
  // Tells the user why an entry was not taken.
  std::function<void(HWND owner, const std::u16string& text)> refuse;
};

// The open-file dialog (HTML files, or all files) and the shell. `module`
// is the plug-in's, whose file name decides the picker's first folder.
TemplateFileActions systemTemplateFileActions(HMODULE module);

// The picker's first folder: beside a plug-in file named "gen_tunora.dll",
// its folder "gen_tunora\"; otherwise empty, the picker's own choice.
std::u16string templatePickerFolder(std::u16string_view modulePath);

}  // namespace tunora::host
