#include "host/module_file_name.h"

namespace tunora::host {

std::optional<std::u16string> moduleFileName(HMODULE module) {
  // A cut name fills the buffer exactly; the longest path's buffer is tried
  // then, which no name can fill.
  for (const std::size_t capacity : {std::size_t{MAX_PATH}, kLongestPathCapacity}) {
    std::wstring name(capacity, L'\0');
    const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(capacity));
    if (length == 0) return std::nullopt;
    if (length < capacity) return std::u16string(name.begin(), name.begin() + length);
  }
  return std::nullopt;
}

void keepThisModuleLoaded() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&keepThisModuleLoaded), &self);
}

}  // namespace tunora::host
