#include <windows.h>

#include "io/resources.h"

namespace tunora {

std::optional<std::span<const std::uint8_t>> findHtmlResource(ModuleHandle module, int number) {
  const auto instance = static_cast<HMODULE>(module);
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(23));
  if (found == nullptr) return std::nullopt;
  const DWORD size = SizeofResource(instance, found);
  HGLOBAL loaded = LoadResource(instance, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr || size == 0) return std::nullopt;
  return std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data), size);
}

}  // namespace tunora
