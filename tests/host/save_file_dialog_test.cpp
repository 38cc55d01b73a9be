// The system's save dialog as the cover search asks it, and the name of a
// module: names up to the room their buffer has, and never a cut one.
#include "host/save_file_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "host/module_file_name.h"
#include "standin_host.h"
#include "support/temp_dir.h"

namespace tunora::standin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The system's save dialog, as Wine titles it.
constexpr char kSaveTitle[] = "Save As";

// The file name field: a combo box in the dialog of today, an edit in older ones.
HWND nameField(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, cmb13);
  return combo != nullptr ? combo : GetDlgItem(dialog, edt1);
}

std::string windowText(HWND window) {
  std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

// A field of n bytes holds n - 1 characters and the terminator: a suggestion
// or a choice of n characters is not cut to fit but refused.
TEST(SaveFileDialog, NamesUpToTheFieldAndNotOneCharacterMore) {
  const TempDir dir;
  const std::string folder = dir.path().string() + "\\";
  const std::size_t capacity = folder.size() + 40;
  const struct {
    std::size_t suggested;
    std::size_t chosen;
    bool suggestionShown;
    bool taken;
  } cases[] = {
      {capacity - 1, capacity - 1, true, true},
      {capacity, capacity - 1, false, true},
      {8, capacity, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.suggested) + " / " + std::to_string(c.chosen));
    const std::string suggested(c.suggested, 's');
    const std::string chosen = folder + std::string(c.chosen - folder.size(), 'c');
    std::string shown;
    std::vector<std::string> refusals;
    std::optional<std::string> answer;
    const auto choose = [&](HWND save) {
      shown = windowText(nameField(save));
      SetWindowTextA(nameField(save), chosen.c_str());
      click(save, IDOK);
    };
    const auto ask = [&] {
      answer = host::askSaveFileNameWithin(folder, suggested, capacity,
                                           [&](const char* why) { refusals.emplace_back(why); });
    };
    ASSERT_TRUE(whileDialogOpen(kSaveTitle, choose, ask).found);
    EXPECT_EQ(shown, c.suggestionShown ? suggested : "");
    EXPECT_EQ(answer, c.taken ? std::optional{chosen} : std::nullopt);
    EXPECT_EQ(refusals.size(), c.taken ? 0u : 1u);
  }
  EXPECT_GE(host::kSaveNameCapacity, 2 * 32767u + 1);
}

// A name that fills the first buffer exactly was cut: it is asked again.
TEST(ModuleFileName, IsWholeAtTheFirstBuffersEdgeAndPastIt) {
  const TempDir dir;
  const fs::path plugin = fs::path(programFolder()) / "plugins" / "ml_tunora.dll";
  const std::size_t base = dir.path().wstring().size() + 1;
  for (const std::size_t length : {std::size_t{MAX_PATH - 1}, std::size_t{MAX_PATH}}) {
    SCOPED_TRACE(length);
    const std::wstring name = std::wstring(length - base - 4, L'm') + L".dll";
    const fs::path copy = dir.path() / name;
    ASSERT_EQ(copy.wstring().size(), length);
    fs::copy_file(plugin, copy);
    const HMODULE module = LoadLibraryExW(copy.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(host::moduleFileName(module), copy.u16string());
    FreeLibrary(module);
  }
}

}  // namespace
}  // namespace tunora::standin
