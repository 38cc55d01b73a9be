// The preferences dialog of the real plug-in in the stand-in player: opened
// by the player's configuration request and by its toggle, driven control by
// control, confirmed into the registry. Where the user would pick a file in
// the open-file dialog, a plug-in object of this program takes the test's
// answer instead, with the dialog resource of the real DLL.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dialog_driver.h"
#include "host/plugin.h"
#include "host/registry_settings_store.h"
#include "host/template_files.h"
#include "io/file.h"
#include "standin_host.h"
#include "support/temp_dir.h"

namespace tunora::standin {
namespace {

namespace fs = std::filesystem;

constexpr char kSettingsKey[] = "Software\\Winamp\\ml_tunora";
constexpr char kTitle[] = "Tunora-Plugin Configuration";
constexpr UINT kPlayerMessage = 1024;

DWORD storedValueCount() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return values;
}

bool enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

class Preferences : public ::testing::Test {
 protected:
  Preferences() { RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey); }
  ~Preferences() override {
    player_.quit();
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
  }

  void start() {
    ASSERT_TRUE(player_.load());
    ASSERT_EQ(player_.init(), 0);
  }
  INT_PTR configure(HWND owner) {
    return player_.record()->messageProc(kPlayerMessage, reinterpret_cast<INT_PTR>(owner), 0, 0);
  }
  void toggle() { SendMessageA(player_.mainWindow(), kPlayerMessage, 101, 101); }

  testing::TempDir dir_;
  StandinHost player_;
};

TEST_F(Preferences, OpenByTheRequestAndTheToggleButNeverTwice) {
  start();
  INT_PTR first = 0;
  INT_PTR second = 0;
  DialogRun run = whileDialogOpen(
      kTitle,
      [&](HWND dialog) {
        // Owned by the window the request names.
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), player_.libraryWindow());
        second = configure(player_.mainWindow());
        // The toggle closes it as Cancel does.
        toggle();
      },
      [&] { first = configure(player_.libraryWindow()); });
  EXPECT_TRUE(run.found);
  EXPECT_EQ(run.secondDialogs, 0);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);

  // Closed, it opens again by the toggle; the window's close box cancels.
  run = whileDialogOpen(
      kTitle,
      [&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), player_.mainWindow());
        toggle();
        EXPECT_EQ(run.secondDialogs, 0);
        SendMessageA(dialog, WM_CLOSE, 0, 0);
      },
      [&] { toggle(); });
  EXPECT_TRUE(run.found);
  EXPECT_EQ(run.secondDialogs, 0);
  // Cancel saves nothing, and other requests are not the plug-in's.
  EXPECT_EQ(storedValueCount(), 0u);
  EXPECT_EQ(player_.record()->messageProc(1025, 0, 0, 0), 0);
}

TEST_F(Preferences, ShowsTheSettingsAndShowAndFocusFollowTheUpdateBox) {
  {
    host::RegistrySettingsStore store;
    GlobalSettings global;
    global.autoUpdateEnabled = false;
    global.showMini = false;
    global.hotkey = "ALT+7";
    PageSettings page;
    page.coverName = u"%a - %b.jpg";
    page.switches.ogg = false;
    saveGlobalSettings(store, global);
    savePageSettings(store, page);
  }
  start();
  const DialogRun run = whileDialogOpen(
      kTitle,
      [&](HWND dialog) {
        EXPECT_EQ(controlText(dialog, 1053), "%a - %b.jpg");
        EXPECT_EQ(controlText(dialog, 1066), "[Select Template]");
        EXPECT_FALSE(checked(dialog, 1051));
        EXPECT_TRUE(checked(dialog, 1052));
        EXPECT_FALSE(checked(dialog, 1085));
        EXPECT_FALSE(checked(dialog, 1061));
        EXPECT_TRUE(checked(dialog, 1058));
        EXPECT_TRUE(checked(dialog, 1073));
        // The hotkey field holds the text but is never shown.
        EXPECT_EQ(controlText(dialog, 1082), "ALT+7");
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1082)));

        EXPECT_FALSE(enabled(dialog, 1052));
        EXPECT_FALSE(enabled(dialog, 1073));
        click(dialog, 1051);
        EXPECT_TRUE(checked(dialog, 1051));
        EXPECT_TRUE(enabled(dialog, 1052));
        EXPECT_TRUE(enabled(dialog, 1073));
        click(dialog, 1051);
        EXPECT_FALSE(enabled(dialog, 1052));
        click(dialog, IDCANCEL);
      },
      [&] { configure(player_.mainWindow()); });
  EXPECT_TRUE(run.found);
  // A screenshot for the documentation, when asked for.
  if (const char* picture = std::getenv("TUNORA_DIALOG_PICTURE")) {
    whileDialogOpen(
        kTitle,
        [&](HWND dialog) {
          EXPECT_TRUE(saveWindowPicture(dialog, fs::path(picture)));
          click(dialog, IDCANCEL);
        },
        [&] { configure(player_.mainWindow()); });
  }
}

// The room a control gives its text: a check box's box and a group box's
// frame take their part.
int textRoom(HWND control) {
  RECT rect{};
  GetClientRect(control, &rect);
  char kind[32] = {};
  GetClassNameA(control, kind, sizeof kind);
  if (std::string_view(kind) != "Button") return rect.right;
  const LONG style = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  if (style == BS_GROUPBOX) return rect.right - 16;
  if (style == BS_AUTOCHECKBOX || style == BS_CHECKBOX)
    return rect.right - GetSystemMetrics(SM_CXMENUCHECK) - 4;
  return rect.right - 4;
}

TEST_F(Preferences, EveryTextFitsItsControl) {
  start();
  std::vector<std::string> cut;
  const auto measure = [&](HWND dialog) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      if (!IsWindowVisible(control)) continue;
      wchar_t text[512] = {};
      const int length = GetWindowTextW(control, text, 512);
      if (length == 0) continue;
      const HDC context = GetDC(control);
      const HGDIOBJ font =
          SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
      SIZE size{};
      GetTextExtentPoint32W(context, text, length, &size);
      SelectObject(context, font);
      ReleaseDC(control, context);
      if (size.cx > textRoom(control))
        cut.push_back(fs::path(text).string() + " (" + std::to_string(size.cx) + " > " +
                      std::to_string(textRoom(control)) + ")");
    }
    click(dialog, IDCANCEL);
  };
  ASSERT_TRUE(whileDialogOpen(kTitle, measure, [&] { configure(player_.mainWindow()); }).found);
  EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
}

TEST_F(Preferences, OkStoresEveryValueAndSavesBothGroups) {
  start();
  const DialogRun run = whileDialogOpen(
      kTitle,
      [&](HWND dialog) {
        SetDlgItemTextA(dialog, 1053, "%a.jpg");
        SetDlgItemTextA(dialog, 1068, "C:\\nowhere\\multi.html");
        for (const int id : {1058, 1060, 1073, 1085, 1091}) click(dialog, id);
        click(dialog, IDOK);
      },
      [&] { configure(player_.mainWindow()); });
  ASSERT_TRUE(run.found);
  EXPECT_EQ(storedValueCount(), 22u);
  host::RegistrySettingsStore store;
  const PageSettings page = loadPageSettings(store, u"");
  EXPECT_EQ(page.coverName, u"%a.jpg");
  // A template that does not exist is stored as the dialog showed it.
  EXPECT_EQ(page.templatePath(TemplateSlot::MultipleTracks), u"[Select Template]");
  EXPECT_FALSE(page.switches.mp3);
  EXPECT_FALSE(page.switches.mpc);
  EXPECT_FALSE(page.switches.asf);
  EXPECT_TRUE(page.switches.ogg);
  EXPECT_TRUE(page.switches.opus);
  EXPECT_FALSE(page.setFocus);
  const GlobalSettings global = loadGlobalSettings(store);
  EXPECT_FALSE(global.showMini);
  EXPECT_TRUE(global.autoUpdateEnabled);
  EXPECT_EQ(global.hotkey, "WIN+C");

  // Quit saves the same values again.
  player_.quit();
  EXPECT_EQ(storedValueCount(), 22u);
  EXPECT_FALSE(loadPageSettings(store, u"").switches.mp3);
}

// A plug-in object of this program around the stand-in's windows, with the
// dialog resource of the loaded DLL.
class PreferencesInProcess : public Preferences {
 protected:
  void SetUp() override {
    ASSERT_TRUE(player_.load());
    host::PluginRecord record{};
    record.hostMainWindow = player_.mainWindow();
    record.libraryParentWindow = player_.libraryParent();
    record.moduleInstance = player_.module();
    plugin_ = std::make_unique<host::Plugin>(record);
    plugin_->preferences().files().pick = [this](HWND) { return picked_; };
    plugin_->preferences().files().edit = [this](const std::u16string& file) {
      edited_.push_back(file);
    };
    plugin_->preferences().files().refuse = [this](HWND, const std::u16string& text) {
      refusals_.push_back(text);
    };
  }
  void TearDown() override { plugin_.reset(); }

  std::u16string templateFile(const char* name) {
    const fs::path path = dir_.path() / name;
    const std::vector<std::uint8_t> bytes{0xFF, 0xFE, 'x', 0};
    EXPECT_TRUE(writeWholeFile(path.u16string(), bytes));
    return path.u16string();
  }

  std::unique_ptr<host::Plugin> plugin_;
  std::optional<std::u16string> picked_;
  std::vector<std::u16string> edited_;
  std::vector<std::u16string> refusals_;
};

TEST_F(PreferencesInProcess, SelectTakesAnExistingFileAtOnceAndCancelKeepsIt) {
  const std::u16string chosen = templateFile("chosen.html");
  const std::string chosenText = fs::path(chosen).string();
  const DialogRun run = whileDialogOpen(
      kTitle,
      [&](HWND dialog) {
        // Nothing picked, a file that is not there, a path longer than the
        // picker's buffer: nothing changes.
        for (const auto& answer : {std::optional<std::u16string>{},
                                   std::optional{(dir_.path() / "missing.html").u16string()},
                                   std::optional{std::u16string(300, u'a')}}) {
          picked_ = answer;
          click(dialog, 1064);
          EXPECT_EQ(controlText(dialog, 1066), "[Select Template]");
        }
        picked_ = chosen;
        click(dialog, 1064);
        EXPECT_EQ(controlText(dialog, 1066), chosenText);
        // Edit opens what is shown, when it exists.
        click(dialog, 1065);
        click(dialog, 1069);
        click(dialog, IDCANCEL);
      },
      [&] { plugin_->onPluginMessage(kPlayerMessage, 0, 0, 0); });
  ASSERT_TRUE(run.found);
  EXPECT_EQ(edited_, std::vector<std::u16string>{chosen});
  EXPECT_EQ(plugin_->pageSettings().templatePath(TemplateSlot::SingleTrack), chosen);
  EXPECT_EQ(plugin_->pageSettings().templatePath(TemplateSlot::Mini), u"[Select Template]");
  EXPECT_EQ(storedValueCount(), 0u);
  // Saved at quit.
  plugin_.reset();
  host::RegistrySettingsStore store;
  EXPECT_EQ(loadPageSettings(store, u"").templatePath(TemplateSlot::SingleTrack), chosen);
}

// The settings keep 258 characters of a path or the cover name: one more is
// refused with a message rather than cut when read back.
TEST_F(PreferencesInProcess, APathOrCoverNameLongerThanTheSettingsKeepIsRefused) {
  const auto pathOfLength = [&](std::size_t length) {
    const std::u16string folder = dir_.path().u16string() + u"\\";
    const std::u16string name = std::u16string(length - folder.size() - 5, u'n') + u".html";
    return templateFile(fs::path(name).string().c_str());
  };
  const std::u16string fits = pathOfLength(258);
  const std::u16string tooLong = pathOfLength(259);
  ASSERT_EQ(tooLong.size(), 259u);
  DialogRun run = whileDialogOpen(
      kTitle,
      [&](HWND dialog) {
        picked_ = tooLong;
        click(dialog, 1064);
        EXPECT_EQ(controlText(dialog, 1066), "[Select Template]");
        EXPECT_EQ(refusals_.size(), 1u);
        picked_ = fits;
        click(dialog, 1064);
        EXPECT_EQ(controlText(dialog, 1066), fs::path(fits).string());

        SetDlgItemTextW(dialog, 1053, std::wstring(259, L'c').c_str());
        click(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(refusals_.size(), 2u);
        SetDlgItemTextW(dialog, 1053, std::wstring(258, L'c').c_str());
        click(dialog, IDOK);
        EXPECT_FALSE(IsWindowVisible(dialog));
      },
      [&] { plugin_->onPluginMessage(kPlayerMessage, 0, 0, 0); });
  ASSERT_TRUE(run.found);
  EXPECT_EQ(refusals_.size(), 2u);
  EXPECT_EQ(plugin_->pageSettings().coverName, std::u16string(258, u'c'));
  host::RegistrySettingsStore store;
  const PageSettings saved = loadPageSettings(store, u"");
  EXPECT_EQ(saved.coverName, std::u16string(258, u'c'));
  EXPECT_EQ(saved.templatePath(TemplateSlot::SingleTrack), fits);
}

TEST(TemplatePicker, StartsBesideAPlugInFileNamedGenTunoraOnly) {
  EXPECT_EQ(host::templatePickerFolder(u"C:\\Winamp\\Plugins\\gen_tunora.dll"),
            u"C:\\Winamp\\Plugins\\gen_tunora\\");
  EXPECT_EQ(host::templatePickerFolder(u"C:\\Winamp\\Plugins\\ml_tunora.dll"), u"");
}

}  // namespace
}  // namespace tunora::standin
