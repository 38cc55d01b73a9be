#pragma once
// The music files of a folder, and on request of every folder below it, in
// the order a person reads them: folder by folder, each folder's files first
// and then its subfolders, both in natural order (text/natural_order.h).
// Links are followed, each folder is listed once, so no link can make the
// walk go round; a FIFO, device or socket is never opened, only named.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/file_type_switches.h"

namespace tunora {

struct FolderListing {
  // Each as the folder's path, a separator and the names below it.
  std::vector<std::u16string> files;
  // The other files: never read, but no page is to be written over them
  // either, as it would be over a file of the folder.
  std::vector<std::u16string> otherFiles;
  // Subfolders of the folder that were not entered, as the walk did not descend.
  std::size_t foldersLeftOut = 0;
  // A folder below could not be listed.
  bool someUnread = false;
};

// One line about what was left out and why, without the tool's name.
using WalkNote = std::function<void(const std::string&)>;

// Only names of a type the switches leave enabled are listed.
FolderListing musicFilesIn(std::u16string_view folder, bool recursive,
                           const FileTypeSwitches& switches, const WalkNote& note);

// The folder with a separator at its end.
std::u16string withSeparator(std::u16string_view folder);

}  // namespace tunora
