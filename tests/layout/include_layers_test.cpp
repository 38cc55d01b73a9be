// The folders of src/ form floors: a file may include headers of its own
// folder and of the floors below it, never above, so that no two folders
// depend on each other. The programs on the top floor never include one
// another.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Floor {
  const char* folder;
  int level;
};

// From the ground up; the top floor holds the programs built on the core.
constexpr int kTop = 100;
constexpr std::array kFloors{
    Floor{"text", 0},         Floor{"io", 1},        Floor{"jpeg", 2},    Floor{"image", 3},
    Floor{"trackinfo", 4},    Floor{"tags", 5},      Floor{"formats", 6}, Floor{"hostlink", 7},
    Floor{"settings", 8},     Floor{"tracks", 9},    Floor{"skin", 10},   Floor{"htmlcreator", 11},
    Floor{"coversearch", 12}, Floor{"dispatch", 13}, Floor{"follow", 14}, Floor{"serve", 15},
    Floor{"host", kTop},      Floor{"cli", kTop},
};

int levelOf(const std::string& folder) {
  for (const auto& floor : kFloors)
    if (folder == floor.folder) return floor.level;
  return -1;
}

struct Include {
  std::string from;  // path below src/
  std::string fromFolder;
  std::string toFolder;
};

std::vector<Include> includesBetweenFolders(const fs::path& src) {
  const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/[^"]+")re");
  std::vector<Include> found;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const auto extension = entry.path().extension();
    if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    const auto relative = fs::relative(entry.path(), src);
    const std::string folder = relative.begin()->string();
    std::ifstream file(entry.path());
    std::string line;
    std::smatch match;
    while (std::getline(file, line))
      if (std::regex_search(line, match, include) && match[1] != folder)
        found.push_back({relative.generic_string(), folder, match[1]});
  }
  return found;
}

TEST(IncludeLayers, EveryFolderOfSrcHasAFloor) {
  for (const auto& entry : fs::directory_iterator(fs::path(TUNORA_SOURCE_DIR) / "src")) {
    if (!entry.is_directory()) continue;
    EXPECT_GE(levelOf(entry.path().filename().string()), 0)
        << entry.path().filename() << " needs a floor in kFloors";
  }
}

TEST(IncludeLayers, IncludesPointOnlyDownwards) {
  const auto includes = includesBetweenFolders(fs::path(TUNORA_SOURCE_DIR) / "src");
  ASSERT_FALSE(includes.empty());
  for (const auto& include : includes) {
    const int from = levelOf(include.fromFolder);
    const int to = levelOf(include.toFolder);
    if (to < 0) continue;  // a generated or system header
    EXPECT_TRUE(to < from) << include.from << " includes a header of " << include.toFolder
                           << ", which is not below " << include.fromFolder;
  }
}

}  // namespace
