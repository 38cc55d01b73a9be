#pragma once
// The page generator: four template slots with their embedded defaults, the
// page colours, the cover settings and the template processor that turns a
// template and the tracks of a page into the page.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "hostlink/host_link.h"
#include "htmlcreator/cover_export.h"
#include "htmlcreator/multiple_tags.h"
#include "io/resources.h"
#include "skin/page_colours.h"
#include "text/text_lines.h"
#include "tracks/track_class.h"

namespace tunora {

enum class TemplateSlot { SingleTrack, MultipleTracks, Directory, Mini };

// Shown as the path of a slot that uses its embedded default.
inline constexpr std::u16string_view kSelectTemplate = u"[Select Template]";

class HtmlCreator {
 public:
  // Loads the four embedded defaults; the caller then chooses the templates.
  HtmlCreator(ModuleHandle module, const HostLink& host);
  // Deletes the temporary covers, unless told to keep them.
  virtual ~HtmlCreator();
  HtmlCreator(const HtmlCreator&) = delete;
  HtmlCreator& operator=(const HtmlCreator&) = delete;

  // A template file must be UTF-16LE with a byte-order mark; any other file
  // gives an empty template. A missing file selects the embedded default.
  void chooseTemplate(TemplateSlot slot, std::u16string_view path);
  const std::u16string& templatePath(TemplateSlot slot) const;
  const TextLines& templateLines(TemplateSlot slot) const;
  // The embedded default of a slot, without byte-order mark.
  const std::u16string& defaultTemplate(TemplateSlot slot) const;

  // Cover file name pattern searched beside the music: %a/%A artist,
  // %b/%B album, %y/%Y year.
  void setCoverName(std::u16string pattern) { coverName_ = std::move(pattern); }
  const std::u16string& coverName() const { return coverName_; }
  FileTypeSwitches& switches() { return switches_; }
  bool& setFocus() { return setFocus_; }
  PageColours& colours() { return colours_; }
  const std::u16string& coverDark() const { return duotone_.dark; }
  const std::u16string& coverLight() const { return duotone_.light; }
  bool recolour() const { return recolour_; }

  // Processes a private copy of a template in place into the page.
  void processTemplate(TextLines& page, MultipleTags& tracks);
  // Fills one copy of a track section with the values of track `index`.
  void fillTrack(TextLines& section, MultipleTags& tracks, std::size_t index);
  // Fills a group section with the summaries of all tracks.
  void fillGroup(TextLines& section, MultipleTags& tracks);

  // A built-in page (no supported files, start page) in the page colours.
  TextLines fixedPage(int resource) const;

  // Values of the track filled last, for the cover search.
  const std::u16string& lastArtist() const { return lastArtist_; }
  const std::u16string& lastAlbum() const { return lastAlbum_; }
  const std::u16string& lastFileName() const { return lastFileName_; }

  const HostLink& host() const { return host_; }
  void setDeleteCoversAtExit(bool on) { deleteCoversAtExit_ = on; }

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
    std::function<int(std::u16string_view)> writePicture;
  };

  void replaceColourTokens(TextLines& page) const;
  void readCoverColours(TextLines& page);
  void fillCover(TextLines& section, CoverState& state, const CoverRequest& request);
  std::optional<std::u16string> coverFileBeside(const CoverRequest& request) const;
  bool exportTo(std::u16string_view source, std::u16string_view destination, CoverState& state);
  Slot& slot(TemplateSlot which) { return slots_[static_cast<std::size_t>(which)]; }
  const Slot& slot(TemplateSlot which) const { return slots_[static_cast<std::size_t>(which)]; }

  ModuleHandle module_;
  const HostLink& host_;
  std::array<Slot, 4> slots_;
  std::u16string coverName_ = u"folder.jpg";
  FileTypeSwitches switches_;
  bool setFocus_ = true;
  PageColours colours_;
  Duotone duotone_{u"#000000", u"#FFFFFF"};
  bool recolour_ = false;
  std::u16string lastArtist_{kUnknown};
  std::u16string lastAlbum_{kUnknown};
  std::u16string lastFileName_{kUnknown};
  bool deleteCoversAtExit_ = true;
};

// The value of "<$tracknrclean$>": "03/12" gives "3"; "0" gives "Unknown".
std::u16string cleanTrackNumber(std::u16string_view trackNumber);

}  // namespace tunora
