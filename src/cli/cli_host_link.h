#pragma once
// The command-line tool's answers to the core: the temporary covers of a page
// go into a folder beside the page, named after it ("tunora_covers" beside
// "tunora.html"), so that the page works when opened from the disk.

#include <string>

#include "hostlink/host_link.h"

namespace tunora {

class CliHostLink : public HostLink {
 public:
  // `pagePath` is where the page will be saved.
  explicit CliHostLink(const std::u16string& pagePath);
  std::optional<std::u16string> coverFolder() const override { return coverFolder_; }

 private:
  std::u16string coverFolder_;
};

}  // namespace tunora
