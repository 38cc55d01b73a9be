#include "cli/cli.h"

#include <utility>

#include "cli/argument_parser.h"
#include "text/debug_log.h"

namespace tunora {
namespace {

constexpr std::string_view kUsage =
    "Usage: tunora COMMAND [OPTIONS] FILE...\n"
    "\n"
    "Commands:\n"
    "  tags [--json] FILE...   print the tags and stream properties of music files\n"
    "    --json                as a JSON array, one object per file\n"
    "    --csv                 as CSV (RFC 4180): a header row of the keys, then one\n"
    "                          row per file\n"
    "    --format TEXT         one line per file: TEXT with template tokens, such as\n"
    "                          '<$artist$> - <$songname$>'\n"
    "    --recursive           a folder given stands for the music files in it\n"
    "                          and in every folder below\n"
    "  page [OPTIONS] FILE...  build the page about one file (single-track template)\n"
    "                          or several files (multiple-tracks template)\n"
    "    --directory DIR       the page about all files of DIR (directory template)\n"
    "    --recursive           with --directory: the files of every folder below too\n"
    "    --mini                the small page about one file (Mini template)\n"
    "    --template PATH       a template of your own (UTF-16LE with byte-order mark)\n"
    "    --covername PATTERN   cover file beside the music (default folder.jpg;\n"
    "                          %a artist, %b album, %y year)\n"
    "    --skin DIR            colour the page like the player skin in DIR\n"
    "                          (its pledit.txt; a skin with skin.xml gets the\n"
    "                          default colours of modern skins)\n"
    "    --skip TYPE           do not read TYPE files (mp3, mp4, aac, ogg, flac, mpc, opus,\n"
    "                          wav, aiff, wv, ape, wma)\n"
    "    -o PATH               where the page goes (default tunora.html); its covers\n"
    "                          go into a folder beside it\n"
    "    --utf8                write the page as UTF-8 (default UTF-16LE, as the\n"
    "                          player expects)\n"
    "  covers search [--store us|de|mb] [--host HOST] KEYWORDS...\n"
    "                          search the music store or MusicBrainz for covers\n"
    "  covers get [--store us|de|mb] [--host HOST] LINK -o FILE\n"
    "                          save the cover of one search result (its link)\n"
    "    --store us|de|mb      the US (default) or the German store front, or\n"
    "                          MusicBrainz with the Cover Art Archive\n"
    "    --host HOST           the store front's host name, optionally with :port\n"
    "  follow [OPTIONS]        keep the page of the song a player plays (Linux:\n"
    "                          players on the session bus, such as mpv with mpris)\n"
    "    -o PATH               where the page goes (default tunora.html)\n"
    "    --player NAME         follow this player (mpv, vlc, ...); default: the\n"
    "                          first one that plays\n"
    "    --template PATH       a single-track template of your own\n"
    "    --skin DIR            colour the page like the player skin in DIR\n"
    "    --refresh SECONDS     the page reloads itself this often\n"
    "    --open                open the page once in the desktop's browser\n"
    "  serve [OPTIONS]         serve the page of the song a player plays over HTTP;\n"
    "                          open browsers show the next song by themselves\n"
    "                          (Linux: players on the session bus)\n"
    "    --listen ADDR:PORT    where to listen (default 127.0.0.1:8719; a numeric\n"
    "                          address, or localhost; port 0: any free port)\n"
    "    --player NAME         follow this player; default: the first that plays\n"
    "    --template PATH       a single-track template of your own, or overlay:\n"
    "                          the built-in stream overlay (800x200, transparent)\n"
    "    --skin DIR            colour the page like the player skin in DIR\n"
    "\n"
    "Options:\n"
    "  --help                  show this help\n"
    "  --version               show the version\n"
    "  --debug                 write the diagnostic log to standard error\n"
    "  --                      everything after it is a file, keyword or link,\n"
    "                          even when it starts with a dash\n";

}  // namespace

void writeText(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

void printUsage(std::FILE* stream) {
  writeText(stream, kUsage);
}

int runTunora(const CommandLine& args, std::FILE* out, std::FILE* err) {
  // The diagnostic log would mix with the tool's own output on stdout.
  setDebugLogStream(nullptr);
  bool version = false;
  CommandLine command;
  ArgumentParser parser;
  parser.flag("--version", version);
  parser.command(command);
  if (const auto status = parser.parse(args, out, err)) return *status;
  if (version) {
    writeText(out, "tunora " TUNORA_VERSION "\n");
    return 0;
  }
  if (command.empty()) {
    printUsage(err);
    return 2;
  }
  using Run = int (*)(const CommandLine&, std::FILE*, std::FILE*);
  constexpr std::pair<std::string_view, Run> kCommands[] = {{"tags", runTagsCommand},
                                                            {"page", runPageCommand},
                                                            {"covers", runCoversCommand},
                                                            {"follow", runFollowCommand},
                                                            {"serve", runServeCommand}};
  const CommandLine rest(command.begin() + 1, command.end());
  for (const auto& [name, run] : kCommands)
    if (command.front() == name) return run(rest, out, err);
  return argumentError(err, "unknown command " + quotedArgument(command.front()));
}

}  // namespace tunora
