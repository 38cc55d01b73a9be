#include "cli/cli_host_link.h"

#include <filesystem>

#include "io/file.h"

namespace tunora {

CliHostLink::CliHostLink(const std::u16string& pagePath) {
  std::error_code ignored;
  const std::filesystem::path page = std::filesystem::absolute(pagePath, ignored);
  const std::filesystem::path folder = page.parent_path() / (page.stem().u16string() + u"_covers");
  coverFolder_ = folder.u16string() + static_cast<char16_t>(kPathSeparator);
}

}  // namespace tunora
