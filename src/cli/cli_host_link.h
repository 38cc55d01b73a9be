#pragma once
// The command-line tool's answers to the core: the temporary covers of a page
// go into a folder beside the page, named after it ("tunora_covers" beside
// "tunora.html"), so that the page works when opened from the disk; the page
// refers to them relative to itself, percent-encoded, so that page and covers
// can move together and any folder name works. The skin folder is the one
// named by --skin, if any.

#include <cstdio>
#include <optional>
#include <string>

#include "hostlink/host_link.h"

namespace tunora {

class CliHostLink : public HostLink {
 public:
  // `pagePath` is where the page will be saved.
  explicit CliHostLink(const std::u16string& pagePath,
                       std::optional<std::u16string> skinFolder = std::nullopt);
  std::optional<std::u16string> coverFolder() const override { return coverFolder_; }
  std::optional<std::u16string> coverLink(std::u16string_view coverPath) const override;
  std::optional<std::u16string> skinFolder() const override { return skinFolder_; }

 private:
  std::u16string coverFolder_;
  // The cover folder's own name, as the page refers to it.
  std::u16string coverFolderName_;
  std::optional<std::u16string> skinFolder_;
};

// The folder of --skin before any page is built: 0 when it is a folder, else
// the status of a wrong argument, 2, with the reason written to `err`.
int checkSkinOption(const std::u16string& folder, std::FILE* err);

}  // namespace tunora
