#include "host/player_host_link.h"

#include <array>

#include "text/helpers.h"

namespace tunora::host {

HWND findPlayerWindow() {
  return FindWindowW(L"Winamp v1.x", nullptr);
}

std::optional<std::u16string> PlayerHostLink::coverFolder() const {
  const HWND player = findPlayerWindow();
  if (player == nullptr) return std::nullopt;
  const auto owner = reinterpret_cast<HMODULE>(GetWindowLongPtrW(player, GWLP_HINSTANCE));
  std::array<wchar_t, MAX_PATH> name{};
  const DWORD length = GetModuleFileNameW(owner, name.data(), static_cast<DWORD>(name.size()));
  if (length == 0 || length >= name.size()) return std::nullopt;
  std::u16string path = toLowerAscii(std::u16string_view(
      reinterpret_cast<const char16_t*>(name.data()), static_cast<std::size_t>(length)));
  const auto executable = path.find(u"winamp.exe");
  if (executable == std::u16string::npos) return std::nullopt;
  path.resize(executable);
  return path + u"plugins\\ml_tunora\\";
}

}  // namespace tunora::host
