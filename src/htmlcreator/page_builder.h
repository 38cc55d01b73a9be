#pragma once
// From a list of files to a page: each file read by the class that its
// extension and the per-type switches choose, collected in a MultipleTags,
// and the chosen template processed with them.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "htmlcreator/html_creator.h"
#include "text/text_lines.h"
#include "trackinfo/track_info.h"

namespace tunora {

struct BuiltPage {
  TextLines page;
  std::size_t trackCount = 0;
  // Nothing when no section was filled (no track, or an empty template).
  std::optional<CoverSearchStart> coverSearch;
  // The temporary cover files the page shows.
  std::vector<std::u16string> coverFiles;
};

// Describes the one entry of a single-entry list that no class reads (the
// player's own information in the plug-in, a followed player's metadata); an
// empty function gives a track whose every value is "Unknown".
using DescribeUnsupported = std::function<Track(const std::u16string&)>;

// Called after each entry is read, for a progress display.
using EntryRead = std::function<void()>;

// Several unsupported entries are left out; when no track remains the page is
// the built-in "[No supported files found]" page. The page's Unicode flag is
// set, ready to be saved.
BuiltPage buildPage(const HtmlCreator& creator, const PageSettings& settings,
                    const PageColours& colours, const std::vector<std::u16string>& files,
                    TemplateSlot slot, const DescribeUnsupported& describeUnsupported = {},
                    const EntryRead& entryRead = {});

}  // namespace tunora
