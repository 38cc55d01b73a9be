#pragma once
// The followed page as `tunora serve` serves it: its covers taken into
// memory under names made from their content, the page's links pointed at
// them, and a small script that swaps in the next page without a reload.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostlink/host_link.h"
#include "serve/page_store.h"
#include "text/text_lines.h"

namespace tunora {

// The page generator writes each cover to a file, as for every page; serve
// lets it write them into a private folder of its own, reads them back and
// removes them. The page links each cover by a stand-in until then.
class ServedCoverFolder final : public HostLink {
 public:
  // Nothing when no private folder can be made; `error` says why.
  static std::optional<ServedCoverFolder> create(std::optional<std::u16string> skinFolder,
                                                 std::string& error);
  ServedCoverFolder(ServedCoverFolder&& other) noexcept;
  ServedCoverFolder& operator=(ServedCoverFolder&&) = delete;
  ~ServedCoverFolder() override;

  std::optional<std::u16string> coverFolder() const override { return folder_; }
  std::optional<std::u16string> coverLink(std::u16string_view coverPath) const override;
  std::optional<std::u16string> skinFolder() const override { return skinFolder_; }

  // Takes the cover files of a built page into memory, named by their
  // content ("<16 hex digits>.jpg" or ".png"), points the page's links at
  // "/cover/<name>", and removes the files.
  ServedCovers takeCovers(TextLines& page, const std::vector<std::u16string>& coverFiles) const;

 private:
  ServedCoverFolder(std::u16string folder, std::optional<std::u16string> skinFolder)
      : folder_(std::move(folder)), skinFolder_(std::move(skinFolder)) {}

  // Ends with a separator.
  std::u16string folder_;
  std::optional<std::u16string> skinFolder_;
};

// The page as served, in UTF-8, with the script that follows the event
// stream; the page of `version`. Without scripts the page reloads itself.
std::string servedPageText(TextLines page, std::uint64_t version);

// What is served before the first song: an empty page that waits for it.
TextLines waitingPage();

}  // namespace tunora
