#include "host/preferences_dialog.h"

#include <algorithm>
#include <vector>

#include "host/hotkey_field.h"
#include "host/preferences_ids.h"
#include "io/file.h"

namespace tunora::host {
namespace {

// The hotkey is read up to 8 characters, as the settings keep it.
constexpr std::size_t kHotkeyFieldCapacity = 9;

constexpr char16_t kTemplatePathTooLong[] =
    u"This template's path is too long: the settings keep paths of at most 258 characters. "
    u"Please move the template to a folder with a shorter path.";
constexpr char16_t kCoverNameTooLong[] =
    u"The cover name is too long: the settings keep names of at most 258 characters.";

// Paths and the cover name are kept in the player's 8-bit form, and only so
// many characters of it come back: a longer one would be cut silently.
bool fitsSettings(std::u16string_view text) {
  return pathToNative(text).size() <= kSettingsPathMaxLength;
}

const TemplateControls& controlsOf(TemplateSlot slot) {
  return kTemplateControls[static_cast<std::size_t>(slot)];
}

// The check boxes of the page settings and the flags they stand for.
struct FlagBox {
  int id;
  bool PageSettings::*page;
  bool FileTypeSwitches::*type;
};
constexpr FlagBox kPageBoxes[] = {
    {kPrefsMp3, nullptr, &FileTypeSwitches::mp3},
    {kPrefsMp4, nullptr, &FileTypeSwitches::mp4},
    {kPrefsOgg, nullptr, &FileTypeSwitches::ogg},
    {kPrefsFlac, nullptr, &FileTypeSwitches::flac},
    {kPrefsMpc, nullptr, &FileTypeSwitches::mpc},
    {kPrefsAac, nullptr, &FileTypeSwitches::aac},
    {kPrefsOpus, nullptr, &FileTypeSwitches::opus},
    {kPrefsWav, nullptr, &FileTypeSwitches::wav},
    {kPrefsAiff, nullptr, &FileTypeSwitches::aiff},
    {kPrefsWavPack, nullptr, &FileTypeSwitches::wavPack},
    {kPrefsApe, nullptr, &FileTypeSwitches::monkeysAudio},
    {kPrefsWma, nullptr, &FileTypeSwitches::asf},
    {kPrefsSetFocus, &PageSettings::setFocus, nullptr},
};

}  // namespace

bool PreferencesDialog::run(HWND owner) {
  if (open_) return false;
  open_ = true;
  const INT_PTR result = DialogBoxParamW(resources_, MAKEINTRESOURCEW(kPreferencesDialog), owner,
                                         procedure, reinterpret_cast<LPARAM>(this));
  // A dialog that could not be created must not keep the next one out.
  open_ = false;
  window_ = nullptr;
  hotkeyField_.reset();
  return result > 0;
}

void PreferencesDialog::close() {
  if (!open_ || window_ == nullptr) return;
  open_ = false;
  SendMessageW(window_, WM_COMMAND, IDCANCEL, 0);
}

INT_PTR CALLBACK PreferencesDialog::procedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* dialog = reinterpret_cast<PreferencesDialog*>(lParam);
    dialog->window_ = window;
    dialog->onInit();
    return 0;
  }
  auto* dialog = reinterpret_cast<PreferencesDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (dialog == nullptr) return 0;
  if (message == WM_COMMAND) {
    dialog->onCommand(LOWORD(wParam), HIWORD(wParam));
  } else if (message == WM_CLOSE) {
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
  }
  return 0;
}

void PreferencesDialog::onInit() {
  hotkeyField_ = std::make_unique<HotkeyField>(GetDlgItem(window_, kPrefsHotkey));
  const PageSettings& page = targets_.pageSettings;
  const GlobalSettings& global = targets_.globalSettings;
  setControlText(kPrefsCoverName, page.coverName);
  for (std::size_t i = 0; i < kTemplateSlotCount; ++i) {
    const auto slot = static_cast<TemplateSlot>(i);
    setControlText(controlsOf(slot).path, targets_.creator.templatePath(slot));
  }
  check(kPrefsAutoUpdate, global.autoUpdateEnabled);
  check(kPrefsAutoShow, global.autoShowEnabled);
  check(kPrefsShowMini, global.showMini);
  for (const FlagBox& box : kPageBoxes)
    check(box.id, box.page != nullptr ? page.*box.page : page.switches.*box.type);
  enableShowAndFocus();
  SetDlgItemTextA(window_, kPrefsHotkey, global.hotkey.c_str());
}

void PreferencesDialog::onCommand(int id, int code) {
  for (std::size_t i = 0; i < kTemplateSlotCount; ++i) {
    const auto slot = static_cast<TemplateSlot>(i);
    if (id == controlsOf(slot).select) return selectTemplate(slot);
    if (id == controlsOf(slot).edit) return editTemplate(slot);
  }
  if (id == kPrefsAutoUpdate && code == BN_CLICKED) {
    enableShowAndFocus();
  } else if (id == IDOK) {
    confirm();
  } else if (id == IDCANCEL) {
    end();
  }
}

void PreferencesDialog::selectTemplate(TemplateSlot slot) {
  if (!files_.pick) return;
  const std::optional<std::u16string> picked = files_.pick(window_);
  if (!picked || !fileExists(*picked)) return;
  if (!fitsSettings(*picked)) {
    if (files_.refuse) files_.refuse(window_, kTemplatePathTooLong);
    return;
  }
  targets_.creator.chooseTemplate(slot, *picked);
  targets_.pageSettings.templatePath(slot) = targets_.creator.templatePath(slot);
  setControlText(controlsOf(slot).path, targets_.creator.templatePath(slot));
}

void PreferencesDialog::editTemplate(TemplateSlot slot) {
  const std::u16string shown = controlText(controlsOf(slot).path);
  if (files_.edit && fileExists(shown)) files_.edit(shown);
}

void PreferencesDialog::confirm() {
  GlobalSettings& global = targets_.globalSettings;
  PageSettings& page = targets_.pageSettings;
  // The dialog stays open for a name that cannot be kept whole.
  const std::u16string coverName = controlText(kPrefsCoverName);
  if (!fitsSettings(coverName)) {
    if (files_.refuse) files_.refuse(window_, kCoverNameTooLong);
    return;
  }
  std::vector<char> hotkey(kHotkeyFieldCapacity, '\0');
  GetDlgItemTextA(window_, kPrefsHotkey, hotkey.data(), static_cast<int>(hotkey.size()));
  if (global.hotkey != hotkey.data()) {
    global.hotkey = hotkey.data();
    targets_.hotkey.registerText(global.hotkey);
  }

  page.coverName = coverName;
  for (std::size_t i = 0; i < kTemplateSlotCount; ++i) {
    const auto slot = static_cast<TemplateSlot>(i);
    targets_.creator.chooseTemplate(slot, controlText(controlsOf(slot).path));
    page.templatePath(slot) = targets_.creator.templatePath(slot);
  }

  global.autoShowEnabled = checked(kPrefsAutoShow);
  global.autoUpdateEnabled = checked(kPrefsAutoUpdate);
  global.showMini = checked(kPrefsShowMini);
  for (const FlagBox& box : kPageBoxes)
    (box.page != nullptr ? page.*box.page : page.switches.*box.type) = checked(box.id);

  savePageSettings(targets_.store, page);
  saveGlobalSettings(targets_.store, global);
  end();
}

void PreferencesDialog::end() {
  open_ = false;
  EndDialog(window_, 1);
}

void PreferencesDialog::enableShowAndFocus() {
  const BOOL updating = checked(kPrefsAutoUpdate) ? TRUE : FALSE;
  EnableWindow(GetDlgItem(window_, kPrefsAutoShow), updating);
  EnableWindow(GetDlgItem(window_, kPrefsSetFocus), updating);
}

std::u16string PreferencesDialog::controlText(int id) const {
  const auto length = GetWindowTextLengthW(GetDlgItem(window_, id));
  std::vector<wchar_t> text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
  GetDlgItemTextW(window_, id, text.data(), static_cast<int>(text.size()));
  return reinterpret_cast<const char16_t*>(text.data());
}

void PreferencesDialog::setControlText(int id, const std::u16string& text) {
  SetDlgItemTextW(window_, id, reinterpret_cast<const wchar_t*>(text.c_str()));
}

bool PreferencesDialog::checked(int id) const {
  return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void PreferencesDialog::check(int id, bool on) {
  CheckDlgButton(window_, id, on ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace tunora::host
