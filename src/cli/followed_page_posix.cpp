#include "cli/followed_page_posix.h"

#include "cli/cli_host_link.h"
#include "cli/template_warnings.h"
#include "io/file.h"
#include "text/conversions.h"

namespace tunora {

std::string printable(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return text;
}

std::string shown(std::u16string_view text) {
  return "'" + printable(convertUTF16ToUTF8(text)) + "'";
}

int checkPageOptions(const std::optional<std::u16string>& templatePath,
                     const std::optional<std::u16string>& skinFolder, std::FILE* err) {
  if (templatePath) {
    if (const int failed = checkTemplateOption(*templatePath, err); failed != 0) return failed;
  }
  return skinFolder ? checkSkinOption(*skinFolder, err) : 0;
}

BuiltPage buildFollowedPage(const HtmlCreator& creator, const PageSettings& settings,
                            const PageColours& colours, const PlayerTrack& track,
                            const std::function<void(const std::string&)>& report) {
  const std::u16string entry = pageEntryOf(track);
  PageSettings used = settings;
  if (localPathOf(track.url) && !File::open(entry, File::Mode::Read)) {
    // Gone or unreadable: what the player said about it is all there is.
    report("cannot read " + shown(entry) + ": " + lastFileError() +
           "; the page shows what the player says");
    used.switches = FileTypeSwitches{false, false, false, false, false, false};
  }
  if (track.longestText() > kPlayerAnswerLimit)
    report("the player sent a text of " + std::to_string(track.longestText()) +
           " bytes; the page shows its beginning");
  // What Tunora cannot read itself is described from the player's metadata.
  return buildPage(creator, used, colours, {entry}, TemplateSlot::SingleTrack,
                   [&track](const std::u16string& name) { return trackOf(track, name); });
}

std::string followedSubject(const PlayerTrack& track) {
  const std::u16string entry = pageEntryOf(track);
  const std::u16string title = trackOf(track, entry).title.value_or(u"");
  return printable(convertUTF16ToUTF8(title.empty() ? entry : title));
}

}  // namespace tunora
