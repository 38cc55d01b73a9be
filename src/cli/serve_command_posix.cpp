// tunora serve: the page of the song that a player on the session bus plays,
// served over HTTP and swapped in the browser on every change of track.

#include <signal.h>

#include <cstdio>
#include <optional>
#include <string>

#include "cli/argument_parser.h"
#include "cli/cli.h"
#include "cli/cli_host_link.h"
#include "cli/followed_page_posix.h"
#include "cli/served_page_posix.h"
#include "cli/template_warnings.h"
#include "follow/mpris_follow.h"
#include "follow/song_follower.h"
#include "htmlcreator/html_creator.h"
#include "serve/page_server.h"
#include "serve/page_store.h"
#include "skin/skin_colours.h"
#include "text/conversions.h"

namespace tunora {
namespace {

constexpr std::u16string_view kOverlay = u"overlay";

// Fewer than the server's threads, which also serve the page and covers.
constexpr std::size_t kMaxEventClients = 64;

struct ServeOptions {
  ListenAddress listen = *parseListenAddress(kDefaultListen);
  std::optional<std::string> player;
  std::optional<std::u16string> templatePath;
  bool overlay = false;
  std::optional<std::u16string> skinFolder;
};

std::optional<int> parseOptions(const CommandLine& args, ServeOptions& options, std::FILE* out,
                                std::FILE* err) {
  std::optional<std::u16string> listen;
  std::optional<std::u16string> player;
  ArgumentParser parser;
  parser.option("--listen", listen);
  parser.option("--player", player);
  parser.option("--template", options.templatePath);
  parser.option("--skin", options.skinFolder);
  if (const auto status = parser.parse(args, out, err)) return status;
  if (listen) {
    const std::string text = convertUTF16ToUTF8(*listen);
    const auto address = parseListenAddress(text);
    if (!address)
      return argumentError(err,
                           "--listen takes ADDRESS:PORT with a numeric address, such as "
                           "127.0.0.1:8719 or [::1]:8719, not " +
                               quotedArgument(text));
    options.listen = *address;
  }
  if (player && player->empty()) return argumentError(err, "--player needs a name");
  if (player) options.player = convertUTF16ToUTF8(*player);
  if (options.templatePath == kOverlay) {
    options.overlay = true;
    options.templatePath.reset();
  }
  return std::nullopt;
}

// While serving, Ctrl-C and SIGTERM wait for the follower, which ends on
// them; every thread started meanwhile inherits that. The mask of before is
// put back, for the programs started afterwards.
class EndSignalsBlocked {
 public:
  EndSignalsBlocked() {
    sigset_t end;
    sigemptyset(&end);
    sigaddset(&end, SIGINT);
    sigaddset(&end, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &end, &previous_);
  }
  ~EndSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  EndSignalsBlocked(const EndSignalsBlocked&) = delete;
  EndSignalsBlocked& operator=(const EndSignalsBlocked&) = delete;

 private:
  sigset_t previous_;
};

// Each settled track's page, published to the store the server reads.
class ServedPages {
 public:
  ServedPages(const ServeOptions& options, ServedCoverFolder& covers, PageStore& store,
              std::FILE* out, std::FILE* err)
      : covers_(covers), store_(store), out_(out), err_(err), creator_(nullptr, covers) {
    if (options.overlay)
      creator_.chooseBuiltInTemplate(TemplateSlot::SingleTrack, kResourceOverlay);
    else
      creator_.chooseTemplate(TemplateSlot::SingleTrack, options.templatePath.value_or(u""));
    GenericColourTable genericColours;
    refreshSkinColours(covers_, genericColours, colours_);
  }

  void show(const PlayerTrack& track) {
    BuiltPage built = buildFollowedPage(creator_, settings_, colours_, track,
                                        [this](const std::string& text) { report(text); });
    ServedCovers covers = covers_.takeCovers(built.page, built.coverFiles);
    ++version_;
    store_.publish(version_, servedPageText(std::move(built.page), version_), std::move(covers));
    writeText(out_, "Serving the page of " + followedSubject(track) + "\n");
    std::fflush(out_);
  }

 private:
  void report(const std::string& text) const {
    writeText(err_, "tunora: " + text + "\n");
    std::fflush(err_);
  }

  ServedCoverFolder& covers_;
  PageStore& store_;
  std::FILE* out_;
  std::FILE* err_;
  HtmlCreator creator_;
  PageSettings settings_;
  PageColours colours_;
  std::uint64_t version_ = 0;
};

}  // namespace

int runServeCommand(const CommandLine& args, std::FILE* out, std::FILE* err) {
  ServeOptions options;
  if (const auto status = parseOptions(args, options, out, err)) return *status;
  if (const int failed = checkPageOptions(options.templatePath, options.skinFolder, err);
      failed != 0)
    return failed;
  std::string error;
  auto covers = ServedCoverFolder::create(options.skinFolder, error);
  if (!covers) {
    writeText(err, "tunora: " + error + "\n");
    return 1;
  }
  PageStore store(servedPageText(waitingPage(), 0), kMaxEventClients);
  auto server = makePageServer(store, ServerLimits{}, error);
  if (!server) {
    writeText(err, "tunora: " + error + "\n");
    return 1;
  }
  const auto port = server->listen(options.listen, error);
  if (!port) {
    writeText(err, "tunora: " + error + "\n");
    return 1;
  }
  const EndSignalsBlocked blocked;
  server->start();
  if (const auto note = audienceNote(options.listen, *port)) writeText(err, *note + "\n");
  writeText(out, "Serving at http://" + hostAndPort(options.listen, *port) + "/\n");
  std::fflush(out);
  std::fflush(err);
  ServedPages pages(options, *covers, store, out, err);
  SongFollower follower([&pages](const PlayerTrack& track) { pages.show(track); });
  const int status = followPlayers(options.player, follower, err);
  store.close();
  server->stop();
  return status;
}

}  // namespace tunora
