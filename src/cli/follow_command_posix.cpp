// tunora follow: the page of the song that a player on the session bus plays,
// rebuilt on every change of track.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/argument_parser.h"
#include "cli/cli.h"
#include "cli/cli_host_link.h"
#include "cli/followed_page_posix.h"
#include "cli/output_guard.h"
#include "cli/page_output.h"
#include "cli/template_warnings.h"
#include "follow/desktop_opener.h"
#include "follow/mpris_follow.h"
#include "follow/player_track.h"
#include "follow/song_follower.h"
#include "htmlcreator/page_builder.h"
#include "htmlcreator/temp_covers.h"
#include "io/file.h"
#include "io/text_file.h"
#include "skin/skin_colours.h"
#include "text/conversions.h"
#include "text/number_text.h"

namespace tunora {
namespace {

// A day; a page that reloads less often does not need to.
constexpr std::uint32_t kMaxRefreshSeconds = 86400;

struct FollowOptions {
  std::u16string output = u"tunora.html";
  std::optional<std::string> player;
  std::optional<std::u16string> templatePath;
  std::optional<std::u16string> skinFolder;
  std::optional<std::uint32_t> refreshSeconds;
  bool open = false;
};

std::optional<std::uint32_t> parseSeconds(std::u16string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  std::uint32_t seconds = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    seconds = seconds * 10 + (c - u'0');
  }
  if (seconds < 1 || seconds > kMaxRefreshSeconds) return std::nullopt;
  return seconds;
}

// The status to end with when no player is to be followed: the usage has
// been shown, or a wrong argument reported.
std::optional<int> parseOptions(const CommandLine& args, FollowOptions& options, std::FILE* out,
                                std::FILE* err) {
  std::optional<std::u16string> player;
  std::optional<std::u16string> refresh;
  ArgumentParser parser;
  parser.option("-o", options.output);
  parser.option("--player", player);
  parser.option("--template", options.templatePath);
  parser.option("--skin", options.skinFolder);
  parser.option("--refresh", refresh);
  parser.flag("--open", options.open);
  if (const auto status = parser.parse(args, out, err)) return status;
  if (refresh && !(options.refreshSeconds = parseSeconds(*refresh)))
    return argumentError(err,
                         "--refresh takes whole seconds from 1 to 86400, not " + shown(*refresh));
  if (player && player->empty()) return argumentError(err, "--player needs a name");
  if (player) options.player = convertUTF16ToUTF8(*player);
  return std::nullopt;
}

// The browser reloads the page by itself.
void addReload(TextLines& page, std::uint32_t seconds) {
  addToHead(page, u"<meta http-equiv=\"refresh\" content=\"" + decimalText(seconds) + u"\">");
}

// The page of each settled track, written through the plug-in's dispatch to
// the side of the page and moved into place when complete.
class FollowedPage {
 public:
  FollowedPage(const FollowOptions& options, std::FILE* out, std::FILE* err)
      : options_(options),
        out_(out),
        err_(err),
        host_(pagePlace(options.output), options.skinFolder),
        creator_(nullptr, host_),
        covers_(host_, TempCovers::AtEnd::Keep) {
    creator_.chooseTemplate(TemplateSlot::SingleTrack, options.templatePath.value_or(u""));
    // Without --skin the colours are the built-in ones.
    GenericColourTable genericColours;
    refreshSkinColours(host_, genericColours, colours_);
  }

  void show(const PlayerTrack& track);

 private:
  void report(const std::string& text) const {
    writeText(err_, "tunora: " + text + "\n");
    std::fflush(err_);
  }

  const FollowOptions& options_;
  std::FILE* out_;
  std::FILE* err_;
  CliHostLink host_;
  HtmlCreator creator_;
  PageSettings settings_;
  PageColours colours_;
  TempCovers covers_;
  bool opened_ = false;
};

void FollowedPage::show(const PlayerTrack& track) {
  const std::u16string entry = pageEntryOf(track);
  if (const auto clash =
          fileReadAtOutput(options_.output, {entry}, options_.templatePath, settings_.coverName)) {
    report("refusing to write the page over " + shown(*clash) + ", which it reads");
    return;
  }
  PageOutputError error;
  auto output = PageOutput::prepare(options_.output, *host_.coverFolder(), error);
  if (!output) {
    report("cannot write " + shown(options_.output) + ": " + error.reason);
    return;
  }
  // The covers of the previous page go; this page's stay for the browser.
  covers_.deleteAll();
  output->attachCovers(covers_);
  BuiltPage built = buildFollowedPage(creator_, settings_, colours_, track,
                                      [this](const std::string& text) { report(text); });
  TextLines& page = built.page;
  if (options_.refreshSeconds) addReload(page, *options_.refreshSeconds);
  if (!output->commit(page, TextFileEncoding::Utf16, error.reason)) {
    report("cannot write " + shown(options_.output) + ": " + error.reason);
    return;
  }
  // Names that are no UTF-8 go through our own conversion; the library's
  // would throw.
  std::error_code ignored;
  const std::u16string written =
      fromFsPath(std::filesystem::absolute(toFsPath(options_.output), ignored));
  writeText(out_, "Page of " + followedSubject(track) + " written to " +
                      convertUTF16ToUTF8(written) + "\n");
  std::fflush(out_);
  if (options_.open && !opened_) {
    opened_ = true;
    if (!openWithDesktop(written, error.reason)) report("cannot open the page: " + error.reason);
  }
}

}  // namespace

int runFollowCommand(const CommandLine& args, std::FILE* out, std::FILE* err) {
  FollowOptions options;
  if (const auto status = parseOptions(args, options, out, err)) return *status;
  if (const int failed = checkPageOptions(options.templatePath, options.skinFolder, err);
      failed != 0)
    return failed;
  FollowedPage page(options, out, err);
  SongFollower follower([&page](const PlayerTrack& track) { page.show(track); });
  return followPlayers(options.player, follower, err);
}

}  // namespace tunora
