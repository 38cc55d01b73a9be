#include "host/module_file_name.h"

namespace tunora::host {

std::optional<std::u16string> moduleFileName(HMODULE module) {
  // A cut name fills the buffer exactly; a bigger buffer is tried then.
  for (std::size_t capacity = MAX_PATH; capacity <= kLongestPathCapacity; capacity *= 8) {
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
