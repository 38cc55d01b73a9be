#include "skin/skin_colours.h"

#include <optional>
#include <string>
#include <string_view>

#include "io/file.h"
#include "io/text_file.h"
#include "skin/playlist_colours.h"
#include "text/text_lines.h"

namespace tunora {
namespace {

std::optional<std::u16string> skinFile(const std::u16string& folder, std::u16string_view name) {
  return findFileIgnoringCase(folder + static_cast<char16_t>(kPathSeparator), name);
}

}  // namespace

void refreshSkinColours(const HostLink& host, GenericColourTable& table, PageColours& colours) {
  const std::optional<std::u16string> folder = host.skinFolder();
  if (!folder || folder->empty()) return;
  if (skinFile(*folder, u"skin.xml")) {
    if (const auto pixels = host.genericSkinPixels()) table.load(*pixels);
    colours.normal = colourToHtml(table.genericColour(1));
    colours.normalBackground = colourToHtml(table.genericColour(0));
    colours.current = colourToHtml(table.genericColour(18));
    colours.selectedBackground = colourToHtml(table.genericColour(6));
    return;
  }
  if (const auto pledit = skinFile(*folder, u"pledit.txt")) {
    TextLines lines;
    if (loadTextFile(lines, *pledit, false) == 1) readPlaylistColours(lines, colours);
  }
}

}  // namespace tunora
