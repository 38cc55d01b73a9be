#include "text/file_url.h"

#include "text/percent_encoding.h"

namespace tunora {
namespace {

bool isAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Each part between slashes encoded, the slashes kept.
std::u16string encodedParts(std::u16string_view path) {
  std::u16string encoded;
  while (true) {
    const std::size_t slash = path.find(u'/');
    encoded += encodeUrlComponent(path.substr(0, slash));
    if (slash == path.npos) return encoded;
    encoded += u'/';
    path.remove_prefix(slash + 1);
  }
}

}  // namespace

std::u16string fileUrl(std::u16string_view absolutePath, PathStyle style) {
  std::u16string path(absolutePath);
  if (style == PathStyle::Windows) {
    for (char16_t& c : path)
      if (c == u'\\') c = u'/';
    // The long-path forms "\\?\C:\..." and "\\?\UNC\server\...".
    if (path.starts_with(u"//?/UNC/"))
      path.replace(0, 8, u"//");
    else if (path.starts_with(u"//?/"))
      path.erase(0, 4);
    // The drive's colon belongs to the URL's path as it is.
    if (path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == u':')
      return u"file:///" + path.substr(0, 2) + encodedParts(std::u16string_view(path).substr(2));
    // A share's server becomes the URL's host.
    if (path.starts_with(u"//")) return u"file:" + encodedParts(path);
  }
  return u"file://" + encodedParts(path);
}

}  // namespace tunora
