#include "host/library_list.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace tunora::host {
namespace {

std::u16string textOf(const std::vector<wchar_t>& buffer) {
  return reinterpret_cast<const char16_t*>(buffer.data());
}

}  // namespace

std::optional<int> clickedLibraryItem(HWND list) {
  const auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  if (count <= 0) return std::nullopt;
  const auto selected =
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0));
  return selected >= 0 && selected < count ? static_cast<int>(selected) : 0;
}

LibraryItemValues libraryItemValues(HWND list, int item) {
  LibraryItemValues values;
  std::vector<wchar_t> buffer(kLibraryTextMaxLength + 1, L'\0');
  for (int column = 0;; ++column) {
    buffer[0] = L'\0';
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT;
    header.pszText = buffer.data();
    header.cchTextMax = static_cast<int>(buffer.size());
    if (!SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&header))) break;
    const std::optional<LibraryColumn> known = libraryColumnOf(textOf(buffer));
    if (!known) continue;
    buffer[0] = L'\0';
    LVITEMW text{};
    text.iSubItem = column;
    text.pszText = buffer.data();
    text.cchTextMax = static_cast<int>(buffer.size());
    SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&text));
    values[*known] = textOf(buffer);
  }
  return values;
}

}  // namespace tunora::host
