#pragma once
// The one road from a list of files to a page on the disk: every event that
// shows a page (a song change, the playlist menu, the library's Mini page)
// ends here. The plug-in's window procedures collect the files and open the
// URL that comes back in the player's minibrowser.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostlink/host_link.h"
#include "htmlcreator/html_creator.h"

namespace tunora {

// What every page is built with besides its files.
struct DispatchContext {
  // The templates of the pages.
  const HtmlCreator& creator;
  // The cover name and per-type switches of the pages.
  const PageSettings& settings;
  // The page colours; the caller refreshes them from the skin beforehand.
  const PageColours& colours;
  // Describes the playing file where no class reads it.
  const HostLink& host;
  // The player's executable, beside which the minibrowser page is written;
  // empty when it is not known.
  std::u16string playerExecutable;
};

struct PageResult {
  bool written = false;
  // "file://" + the page file, for the minibrowser; only for a page written
  // to the minibrowser page file.
  std::optional<std::u16string> minibrowserUrl;
  // What the cover search starts from, when the page filled a section.
  std::optional<CoverSearchStart> coverSearch;
};

// The player's executable path lower-cased with "winamp.exe" replaced by
// "winampmb.htm"; nothing when the path does not name that executable.
std::optional<std::u16string> minibrowserPageFile(std::u16string_view playerExecutable);

// Builds the page of the files with the template of `slot` and writes it to
// `outputPath`, or without one to the minibrowser page file. An empty list
// builds nothing.
PageResult createPage(const DispatchContext& context, const std::vector<std::u16string>& files,
                      const std::optional<std::u16string>& outputPath, TemplateSlot slot);

// The page of a song change or of a selection: an empty list shows the
// playing file; directory mode takes the directory template.
PageResult showFiles(const DispatchContext& context, std::vector<std::u16string> files,
                     bool directoryMode);

// "Show details" of the playlist entries collected from the player.
PageResult showSelected(const DispatchContext& context, std::vector<std::u16string> collected);

// "Show details (directory)": every file of the first collected entry's
// folder, subfolders left out; a folder without files shows the playing file.
// Nothing is built when nothing was collected.
PageResult showDirectory(const DispatchContext& context,
                         const std::vector<std::u16string>& collected);

// The built-in start page in the page colours, as the minibrowser page.
PageResult showStartPage(const DispatchContext& context);

}  // namespace tunora
