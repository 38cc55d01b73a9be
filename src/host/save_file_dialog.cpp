#include "host/save_file_dialog.h"

#include <windows.h>

#include <commdlg.h>

namespace tunora::host {

std::optional<std::string> askSaveFileName(const std::optional<std::string>& folder,
                                           const std::string& suggested) {
  // Both texts keep their own terminators: the filter is a list of pairs.
  constexpr char kFilter[] = "JPG-File (*.jpg)\0*.jpg\0All Files (*.*)\0*.*\0";
  char name[MAX_PATH + 1] = {};
  suggested.copy(name, MAX_PATH);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = name;
  dialog.nMaxFile = sizeof name;
  dialog.lpstrInitialDir = folder ? folder->c_str() : nullptr;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
  if (!GetSaveFileNameA(&dialog)) return std::nullopt;
  return std::string(name);
}

}  // namespace tunora::host
