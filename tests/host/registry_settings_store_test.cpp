#include "host/registry_settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "host/registry_key.h"
#include "settings/global_settings.h"
#include "settings/page_settings.h"

namespace tunora::standin {
namespace {

constexpr char kTestParent[] = "Software\\Tunora Tests";
constexpr std::u16string_view kPlayer = u"C:\\Winamp\\winamp.exe";

// A key of this test process's own, removed before and after.
class RegistrySettings : public ::testing::Test {
 protected:
  RegistrySettings()
      : path_(std::string(kTestParent) + "\\settings-" + std::to_string(GetCurrentProcessId())),
        store_(path_) {
    removeKey();
  }
  ~RegistrySettings() override { removeKey(); }

  void removeKey() const {
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    // Fails while another test process still has its key there.
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestParent);
  }
  host::RegistryKey openKey() const {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_ALL_ACCESS, &key);
    return host::RegistryKey(key);
  }
  // Stores a value as another program might have left it.
  void putRaw(const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_TRUE(store_.createForWriting());
    ASSERT_EQ(RegSetValueExA(openKey().get(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }

  std::string path_;
  host::RegistrySettingsStore store_;
};

TEST_F(RegistrySettings, FirstRunThenTheSixteenValuesComeBack) {
  EXPECT_EQ(store_.openForReading(), nullptr);
  const GlobalSettings firstGlobal = loadGlobalSettings(store_);
  EXPECT_EQ(firstGlobal.hotkey, "WIN+C");
  EXPECT_TRUE(firstGlobal.autoUpdateEnabled && firstGlobal.autoShowEnabled && firstGlobal.showMini);
  const PageSettings firstPage = loadPageSettings(store_, kPlayer);
  EXPECT_TRUE(firstPage.setFocus);
  EXPECT_EQ(firstPage.templatePath(TemplateSlot::Mini),
            u"C:\\Winamp\\plugins\\ml_tunora\\Default (Mini).html");

  PageSettings page;
  page.templatePath(TemplateSlot::SingleTrack) = u"C:\\t\\single.html";
  page.templatePath(TemplateSlot::MultipleTracks) = u"[Select Template]";
  page.templatePath(TemplateSlot::Directory) = std::u16string(258, u'd');
  page.templatePath(TemplateSlot::Mini) = u"C:\\t\\mini.html";
  page.coverName = u"%a - %b.jpg";
  page.switches.mp4 = false;
  page.switches.mpc = false;
  page.setFocus = false;
  savePageSettings(store_, page);
  saveGlobalSettings(store_, {"SHIFT+F12", false, true, false});

  const PageSettings loadedPage = loadPageSettings(store_, kPlayer);
  EXPECT_EQ(loadedPage.templatePaths, page.templatePaths);
  EXPECT_EQ(loadedPage.coverName, page.coverName);
  EXPECT_FALSE(loadedPage.switches.mp4);
  EXPECT_FALSE(loadedPage.switches.mpc);
  EXPECT_TRUE(loadedPage.switches.mp3 && loadedPage.switches.aac && loadedPage.switches.ogg &&
              loadedPage.switches.flac);
  EXPECT_FALSE(loadedPage.setFocus);
  const GlobalSettings loadedGlobal = loadGlobalSettings(store_);
  EXPECT_EQ(loadedGlobal.hotkey, "SHIFT+F12");
  EXPECT_FALSE(loadedGlobal.autoUpdateEnabled);
  EXPECT_TRUE(loadedGlobal.autoShowEnabled);
  EXPECT_FALSE(loadedGlobal.showMini);

  // The key as the plug-in has always made it: class "Template", texts as
  // strings and switches as single bytes.
  const host::RegistryKey key = openKey();
  ASSERT_TRUE(key);
  char keyClass[32] = {};
  DWORD classLength = sizeof keyClass;
  DWORD values = 0;
  ASSERT_EQ(RegQueryInfoKeyA(key.get(), keyClass, &classLength, nullptr, nullptr, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_STREQ(keyClass, "Template");
  EXPECT_EQ(values, 22u);
  DWORD type = 0;
  DWORD size = 0;
  ASSERT_EQ(RegQueryValueExA(key.get(), "Covername", nullptr, &type, nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 12u);
  ASSERT_EQ(RegQueryValueExA(key.get(), "setFocus", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 1u);
}

TEST_F(RegistrySettings, ValuesOfOtherTypesOrSizesAreReadOnlyAsFarAsTheyGo) {
  // Twelve characters do not fit the hotkey's room.
  putRaw("hotkey", REG_SZ, "CTRL+ALT+F12", 13);
  // An unterminated text is cut where its data ends.
  putRaw("Covername", REG_BINARY, "a.jpg", 5);
  // Too long a template path: the default is looked for.
  const std::string longPath(259, 'p');
  putRaw("TemplateTrack", REG_SZ, longPath.c_str(), 260);
  // A number does not fit a switch's one byte; an empty text is one NUL.
  const DWORD number = 0;
  putRaw("mp3Enabled", REG_DWORD, &number, sizeof number);
  putRaw("oggEnabled", REG_SZ, "", 1);
  // A text stored in 16-bit units with an odd size and no terminator.
  const wchar_t wide[] = L"C:\\m.html";
  ASSERT_EQ(RegSetValueExW(openKey().get(), L"TemplateMini", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(wide), 2 * 9 + 1),
            ERROR_SUCCESS);

  EXPECT_EQ(loadGlobalSettings(store_).hotkey, "WIN+C");
  const PageSettings loaded = loadPageSettings(store_, kPlayer);
  EXPECT_EQ(loaded.coverName, u"a.jpg");
  EXPECT_EQ(loaded.templatePath(TemplateSlot::SingleTrack),
            defaultTemplatePath(kPlayer, TemplateSlot::SingleTrack));
  EXPECT_EQ(loaded.templatePath(TemplateSlot::Mini), u"C:\\m.html");
  EXPECT_TRUE(loaded.switches.mp3);
  EXPECT_FALSE(loaded.switches.ogg);
  // The key exists without "setFocus".
  EXPECT_FALSE(loaded.setFocus);
}

}  // namespace
}  // namespace tunora::standin
