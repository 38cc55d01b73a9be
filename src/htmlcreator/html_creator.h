#pragma once
// The page generator: four template slots with their embedded defaults and
// the template processor that turns a template and the tracks of a page into
// the page. The settings and colours of a page come with each page; what the
// page settles on the way (cover colours, the values the cover search starts
// from) goes back to the caller, so nothing of one page is left for the next.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostlink/host_link.h"
#include "htmlcreator/cover_cache.h"
#include "htmlcreator/cover_export.h"
#include "htmlcreator/multiple_tags.h"
#include "io/resources.h"
#include "settings/page_settings.h"
#include "skin/page_colours.h"
#include "text/text_lines.h"

namespace tunora {

// Shown as the path of a slot that uses its embedded default.
inline constexpr std::u16string_view kSelectTemplate = u"[Select Template]";

// What the cover search starts from: the artist, album and file name of the
// track (or group) filled last into a page.
struct CoverSearchStart {
  std::u16string artist{kUnknown};
  std::u16string album{kUnknown};
  std::u16string fileName{kUnknown};
};

// One page in the making: the settings and colours it is built with, and
// what building it settles.
struct PageRun {
  PageRun(const PageSettings& pageSettings, const PageColours& pageColours)
      : settings(pageSettings), colours(pageColours) {}

  const PageSettings& settings;
  const PageColours& colours;
  // Set by the template's cover tokens; the covers are recoloured only when
  // both were found.
  Duotone duotone{u"#000000", u"#FFFFFF"};
  bool recolour = false;
  // The covers made for this page, by their content.
  CoverCache covers;
  // Nothing until a section was filled.
  std::optional<CoverSearchStart> lastFilled;
  // The temporary cover files written for this page.
  std::vector<std::u16string> coverFiles;
};

class HtmlCreator {
 public:
  // Loads the four embedded defaults; the caller then chooses the templates.
  HtmlCreator(ModuleHandle module, const HostLink& host);
  HtmlCreator(const HtmlCreator&) = delete;
  HtmlCreator& operator=(const HtmlCreator&) = delete;

  // A template file is UTF-8 (with or without a byte-order mark) or UTF-16LE
  // with one; any other file gives an empty template. A missing file selects
  // the embedded default.
  void chooseTemplate(TemplateSlot slot, std::u16string_view path);
  // Another built-in template than the slot's default (serve's overlay);
  // false when the binary lacks it.
  bool chooseBuiltInTemplate(TemplateSlot slot, int resource);
  const std::u16string& templatePath(TemplateSlot slot) const;
  const TextLines& templateLines(TemplateSlot slot) const;
  // The embedded default of a slot, without byte-order mark.
  const std::u16string& defaultTemplate(TemplateSlot slot) const;

  // Processes a private copy of a template in place into the page.
  void processTemplate(TextLines& page, MultipleTags& tracks, PageRun& run) const;
  // Fills one copy of a track section with the values of track `index`.
  void fillTrack(TextLines& section, MultipleTags& tracks, std::size_t index, PageRun& run) const;
  // Fills a group section with the summaries of all tracks.
  void fillGroup(TextLines& section, MultipleTags& tracks, PageRun& run) const;

  // A built-in page (no supported files, start page) in the page colours.
  TextLines fixedPage(int resource, const PageColours& colours) const;

  const HostLink& host() const { return host_; }

 private:
  struct Slot {
    std::u16string path;
    TextLines lines;
    std::u16string defaultText;
  };
  // What the cover of a track or of the group is made from.
  struct CoverRequest {
    std::optional<std::u16string> tempPath;
    bool hasPicture = false;
    std::u16string_view musicPath;  // a cover file is looked for beside it
    std::u16string_view artist, album, year;
    // The embedded picture; null when the track says it has one but gave no bytes.
    const std::vector<std::uint8_t>* picture = nullptr;
  };

  void fillCover(TextLines& section, CoverState& state, const CoverRequest& request,
                 PageRun& run) const;
  Slot& slot(TemplateSlot which) { return slots_[static_cast<std::size_t>(which)]; }
  const Slot& slot(TemplateSlot which) const { return slots_[static_cast<std::size_t>(which)]; }

  ModuleHandle module_;
  const HostLink& host_;
  std::array<Slot, kTemplateSlotCount> slots_;
};

// Chooses the four templates of the settings, in slot order, and puts back
// into the settings the paths as the generator shows them ("[Select
// Template]" where the embedded default took over), which is what is saved.
void chooseTemplates(HtmlCreator& creator, PageSettings& settings);

// The four colour tokens, everywhere in the page.
void replaceColourTokens(TextLines& page, const PageColours& colours);

}  // namespace tunora
