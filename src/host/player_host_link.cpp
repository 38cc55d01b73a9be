#include "host/player_host_link.h"

#include <array>

#include "host/gdi_objects.h"
#include "host/host_messages.h"
#include "host/module_file_name.h"
#include "hostlink/player_names.h"
#include "text/ascii_case.h"

namespace tunora::host {
namespace {

// Where the generic skin bitmap keeps its colour table: the marker of an
// undefined colour, and entry i at (kFirstEntryX + kEntrySpacing * i, 0).
constexpr int kMarkerX = 111;
constexpr int kFirstEntryX = 48;
constexpr int kEntrySpacing = 2;

std::uint32_t pixelAt(HDC context, int x) {
  const COLORREF pixel = GetPixel(context, x, 0);
  return pixel == CLR_INVALID ? kUnreadPixel : static_cast<std::uint32_t>(pixel);
}

}  // namespace

std::optional<std::u16string> PlayerHostLink::executablePath() const {
  const HWND player = findPlayerWindow();
  if (player == nullptr) return std::nullopt;
  return moduleFileName(reinterpret_cast<HMODULE>(GetWindowLongPtrW(player, GWLP_HINSTANCE)));
}

std::optional<std::u16string> PlayerHostLink::coverFolder() const {
  const auto executable = executablePath();
  if (!executable) return std::nullopt;
  std::u16string path = toLowerAscii(*executable);
  const auto name = path.find(kPlayerExecutableName);
  if (name == std::u16string::npos) return std::nullopt;
  path.resize(name);
  return path + u"plugins\\ml_tunora\\";
}

bool PlayerHostLink::playerPresent() const {
  return mainWindow_ != nullptr && IsWindow(mainWindow_);
}

std::optional<std::u16string> PlayerHostLink::playingFile() const {
  if (!playerPresent()) return std::nullopt;
  return playlistFileName(mainWindow_, playingPosition(mainWindow_));
}

std::uint32_t PlayerHostLink::streamProperty(StreamProperty which) const {
  return host::streamProperty(which);
}

std::optional<std::u16string> PlayerHostLink::fileInfo(std::u16string_view file,
                                                       std::string_view key) const {
  return extendedFileInfo(file, key);
}

std::optional<std::u16string> PlayerHostLink::skinFolder() const {
  if (!playerPresent()) return std::nullopt;
  return host::skinFolder(mainWindow_);
}

std::optional<GenericSkinPixels> PlayerHostLink::genericSkinPixels() const {
  if (!playerPresent()) return std::nullopt;
  const UniqueBitmap bitmap = genericSkinBitmap(mainWindow_);
  if (!bitmap) return std::nullopt;
  GenericSkinPixels pixels;
  pixels.entries.fill(kUnreadPixel);
  const UniqueMemoryContext context = screenCompatibleContext();
  if (!context) return pixels;
  const SelectedObject selection(context.get(), bitmap.get());
  if (!selection.selected()) return pixels;
  pixels.marker = pixelAt(context.get(), kMarkerX);
  for (std::size_t i = 0; i < pixels.entries.size(); ++i)
    pixels.entries[i] = pixelAt(context.get(), kFirstEntryX + kEntrySpacing * static_cast<int>(i));
  return pixels;
}

}  // namespace tunora::host
