#include "host/template_files.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "host/module_file_name.h"
#include "text/text_edits.h"

namespace tunora::host {
namespace {

const wchar_t* wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::optional<std::u16string> pickTemplate(HWND owner, const std::u16string& folder) {
  // The filter pairs end with an empty string.
  static constexpr wchar_t kFilter[] =
      L"HTML-Files (*.html;*.htm)\0*.html;*.htm\0All Files (*.*)\0*.*\0";
  std::vector<wchar_t> buffer(kPickedPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : wide(folder);
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()));
}

}  // namespace

std::u16string templatePickerFolder(std::u16string_view modulePath) {
  std::u16string folder(modulePath);
  if (!replaceText(folder, u"gen_tunora.dll", u"gen_tunora\\", false)) return {};
  return folder;
}

TemplateFileActions systemTemplateFileActions(HMODULE module) {
  // Without the module's whole name the picker starts where it likes.
  const std::u16string folder = templatePickerFolder(moduleFileName(module).value_or(u""));
  return {
      [folder](HWND owner) { return pickTemplate(owner, folder); },
      [](const std::u16string& file) {
        ShellExecuteW(nullptr, L"edit", wide(file), nullptr, nullptr, SW_SHOWNORMAL);
      },
      [](HWND owner, const std::u16string& text) {
        MessageBoxW(owner, wide(text), L"Tunora-Plugin", MB_OK | MB_ICONWARNING);
      },
  };
}

}  // namespace tunora::host
