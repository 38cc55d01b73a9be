#pragma once
// The preferences dialog: the four templates, the cover name, the switches
// of song following and of the Mini page, and the file types the plug-in
// reads itself. A template picked with "Select" takes effect at once; OK
// stores the rest and saves the page settings, then the global settings.
// The dialog is modal and runs once at a time.

#include <windows.h>

#include <memory>

#include "host/hotkey_field.h"
#include "host/system_hotkey.h"
#include "host/template_files.h"
#include "htmlcreator/html_creator.h"
#include "settings/global_settings.h"
#include "settings/page_settings.h"
#include "settings/settings_store.h"

namespace tunora::host {

// What the dialog shows and changes; it lives as long as the dialog object.
struct PreferencesTargets {
  HtmlCreator& creator;
  PageSettings& pageSettings;
  GlobalSettings& globalSettings;
  SettingsStore& store;
  SystemHotkey& hotkey;
};

class PreferencesDialog {
 public:
  // `resources` is the module that holds the dialog resource.
  PreferencesDialog(HINSTANCE resources, PreferencesTargets targets, TemplateFileActions files)
      : resources_(resources), targets_(targets), files_(std::move(files)) {}
  PreferencesDialog(const PreferencesDialog&) = delete;
  PreferencesDialog& operator=(const PreferencesDialog&) = delete;

  // Runs the dialog owned by `owner` until OK or Cancel ends it; false at
  // once when it is already open or cannot be created.
  bool run(HWND owner);
  // Ends the open dialog as Cancel does.
  void close();
  bool isOpen() const { return open_; }
  // The open dialog's window; null while it is closed.
  HWND window() const { return window_; }
  // Tests answer the picker and the shell themselves.
  TemplateFileActions& files() { return files_; }

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void onInit();
  void onCommand(int id, int code);
  void selectTemplate(TemplateSlot slot);
  void editTemplate(TemplateSlot slot);
  void confirm();
  void end();
  void enableShowAndFocus();
  // The control's whole text.
  std::u16string controlText(int id) const;
  void setControlText(int id, const std::u16string& text);
  bool checked(int id) const;
  void check(int id, bool on);

  HINSTANCE resources_;
  PreferencesTargets targets_;
  TemplateFileActions files_;
  bool open_ = false;
  HWND window_ = nullptr;
  std::unique_ptr<HotkeyField> hotkeyField_;
};

}  // namespace tunora::host
