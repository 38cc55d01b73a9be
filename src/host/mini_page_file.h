#pragma once
// The Mini page's own file beside the minibrowser's: the system's temporary
// name reserves a unique name, and the page takes that name with ".html".

#include <optional>
#include <string>
#include <string_view>

namespace tunora::host {

// The page's name for a reserved temporary name: its ".tmp" suffix (any
// letter case) becomes ".html"; a name without that suffix gets ".html"
// added. A ".tmp" elsewhere in the path, as in a folder's name, stays.
std::u16string miniPageNameOf(std::u16string_view reservation);

// Creates the file only where no file, folder or link of that name exists,
// so that a name another user planted is never written through.
bool createNewFile(std::u16string_view path);

// A reservation and the page file created beside it; nothing when none could
// be made.
struct MiniPageFiles {
  std::u16string reservation;
  std::u16string page;
};
std::optional<MiniPageFiles> makeMiniPageFiles();

}  // namespace tunora::host
