#pragma once
// Folder work that the file seam does not cover: creating one folder level,
// clearing a file's attributes before it is deleted, listing a folder.

#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// Creates the last level of the path (one trailing separator is allowed);
// true when a folder of that name exists afterwards.
bool createFolder(std::u16string_view path);

// Makes a file deletable and writable (on Windows: all attributes cleared).
void resetFileAttributes(std::u16string_view path);

// The entries of a folder that are not folders, each as folder + name;
// subfolders are not entered. `folder` ends in a separator. Windows gives
// the order of the file system; elsewhere the names are sorted, since the
// system's own order there is arbitrary.
std::vector<std::u16string> listFiles(std::u16string_view folder);

}  // namespace tunora
