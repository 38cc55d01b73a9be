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

// The literal texts between the tokens: a pattern of n tokens has n + 1.
std::vector<std::u16string_view> literalsOf(std::u16string_view pattern) {
  std::vector<std::u16string_view> literals;
  std::size_t start = 0;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    if (!isCoverToken(pattern, at)) continue;
    literals.push_back(pattern.substr(start, at - start));
    start = at + 2;
    ++at;
  }
  literals.push_back(pattern.substr(start));
  return literals;
}

}  // namespace

bool matchesCoverPattern(std::u16string_view name, std::u16string_view pattern) {
  const auto literals = literalsOf(pattern);
  if (literals.size() == 1) return name == pattern;
  // The first literal starts the name and the last one ends it; the ones
  // between are taken leftmost, in order, from what is left. As a token
  // stands for any text, the leftmost place never loses a match that a later
  // one would give, so no choice is tried twice.
  const std::u16string_view first = literals.front();
  const std::u16string_view last = literals.back();
  if (name.size() < first.size() + last.size() || !name.starts_with(first) || !name.ends_with(last))
    return false;
  std::u16string_view rest = name.substr(first.size(), name.size() - first.size() - last.size());
  for (std::size_t i = 1; i + 1 < literals.size(); ++i) {
    const std::size_t at = rest.find(literals[i]);
    if (at == std::u16string_view::npos) return false;
    rest.remove_prefix(at + literals[i].size());
  }
  return true;
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
