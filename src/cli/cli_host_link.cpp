#include "cli/cli_host_link.h"

#include <filesystem>
#include <utility>

#include "cli/cli.h"
#include "htmlcreator/html_escape.h"
#include "io/file.h"
#include "text/conversions.h"

namespace tunora {

CliHostLink::CliHostLink(const std::u16string& pagePath, std::optional<std::u16string> skinFolder)
    : skinFolder_(std::move(skinFolder)) {
  std::error_code ignored;
  const std::filesystem::path page = std::filesystem::absolute(toFsPath(pagePath), ignored);
  const std::filesystem::path folder =
      page.parent_path() / toFsPath(fromFsPath(page.stem()) + u"_covers");
  coverFolder_ = fromFsPath(folder) + static_cast<char16_t>(kPathSeparator);
  coverFolderName_ = fromFsPath(folder.filename());
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

int checkSkinOption(const std::u16string& folder, std::FILE* err) {
  std::error_code failed;
  const std::filesystem::path path = toFsPath(folder);
  if (std::filesystem::is_directory(path, failed)) return 0;
  const bool exists = std::filesystem::exists(path, failed);
  writeText(err, "tunora: --skin '" + convertUTF16ToUTF8(folder) +
                     (exists ? "' is not a folder\n" : "' does not exist\n"));
  return 2;
}

}  // namespace tunora
