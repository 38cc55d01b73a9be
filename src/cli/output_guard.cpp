#include "cli/output_guard.h"

#include <filesystem>

#include "io/file.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code ignored;
  return fs::equivalent(a, b, ignored);
}

bool isCoverToken(std::u16string_view pattern, std::size_t at) {
  if (pattern[at] != u'%' || at + 1 >= pattern.size()) return false;
  return std::u16string_view(u"aAbByY").find(pattern[at + 1]) != std::u16string_view::npos;
}

}  // namespace

bool matchesCoverPattern(std::u16string_view name, std::u16string_view pattern) {
  if (pattern.empty()) return name.empty();
  if (isCoverToken(pattern, 0)) {
    for (std::size_t skip = 0; skip <= name.size(); ++skip)
      if (matchesCoverPattern(name.substr(skip), pattern.substr(2))) return true;
    return false;
  }
  return !name.empty() && name[0] == pattern[0] &&
         matchesCoverPattern(name.substr(1), pattern.substr(1));
}

std::optional<std::u16string> fileReadAtOutput(const std::u16string& output,
                                               const std::vector<std::u16string>& inputs,
                                               const std::optional<std::u16string>& templatePath,
                                               std::u16string_view coverName) {
  std::error_code ignored;
  const fs::path page = fs::absolute(toFsPath(output), ignored);
  // A file that does not exist yet is no file the run reads.
  if (!fs::exists(page, ignored)) return std::nullopt;
  if (templatePath && sameFile(page, toFsPath(*templatePath))) return templatePath;
  const bool hasTokens = coverName.find(u'%') != std::u16string_view::npos;
  for (const std::u16string& input : inputs) {
    if (sameFile(page, toFsPath(input))) return input;
    const fs::path folder = fs::absolute(toFsPath(input), ignored).parent_path();
    const fs::path cover = folder / toFsPath(coverName);
    if (sameFile(page, cover)) return fromFsPath(cover);
    // With tags in the pattern any name it can form counts.
    if (hasTokens && sameFile(page.parent_path(), cover.parent_path()) &&
        matchesCoverPattern(fromFsPath(page.filename()), fromFsPath(cover.filename())))
      return fromFsPath(page);
  }
  return std::nullopt;
}

}  // namespace tunora
