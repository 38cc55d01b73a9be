#include "cli/cli_host_link.h"

#include <filesystem>
#include <utility>

#include "htmlcreator/html_escape.h"
#include "io/file.h"

namespace tunora {

CliHostLink::CliHostLink(const std::u16string& pagePath, std::optional<std::u16string> skinFolder)
    : skinFolder_(std::move(skinFolder)) {
  std::error_code ignored;
  const std::filesystem::path page = std::filesystem::absolute(pagePath, ignored);
  const std::filesystem::path folder = page.parent_path() / (page.stem().u16string() + u"_covers");
  coverFolder_ = folder.u16string() + static_cast<char16_t>(kPathSeparator);
  coverFolderName_ = folder.filename().u16string();
  // The player names its skin folder without a trailing separator.
  while (skinFolder_ && skinFolder_->size() > 1 &&
         (skinFolder_->back() == u'/' || skinFolder_->back() == kPathSeparator))
    skinFolder_->pop_back();
}

std::optional<std::u16string> CliHostLink::coverLink(std::u16string_view coverPath) const {
  if (!coverPath.starts_with(coverFolder_)) return std::nullopt;
  return encodeUrlComponent(coverFolderName_) + u"/" +
         encodeUrlComponent(coverPath.substr(coverFolder_.size()));
}

}  // namespace tunora
