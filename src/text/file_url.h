#pragma once
// A link to a file on the local disk: "file://" and the path with each of its
// parts percent-encoded as a URL component, so that "/" stays the separator
// and "#", "?", "%" or a blank in a name reach the file as they are.

#include <string>
#include <string_view>

namespace tunora {

enum class PathStyle {
  Posix,    // "/" separates; a backslash is a character of a name
  Windows,  // "\" and "/" separate; "C:\..." or "\\server\share\..."
};

// The path must be absolute: "/music/a b.mp3" gives
// "file:///music/a%20b.mp3", "C:\Music\a.mp3" gives "file:///C:/Music/a.mp3"
// and "\\server\share\a.mp3" gives "file://server/share/a.mp3".
std::u16string fileUrl(std::u16string_view absolutePath, PathStyle style);

}  // namespace tunora
