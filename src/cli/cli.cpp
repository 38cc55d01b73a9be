#include "cli/cli.h"

#include "text/conversions.h"
#include "text/debug_log.h"

namespace tunora {
namespace {

constexpr std::string_view kUsage =
    "Usage: tunora COMMAND [OPTIONS] FILE...\n"
    "\n"
    "Commands:\n"
    "  tags [--json] FILE...   print the tags and stream properties of music files\n"
    "  page [OPTIONS] FILE...  build the page about one file (single-track template)\n"
    "                          or several files (multiple-tracks template)\n"
    "    --directory DIR       the page about all files of DIR (directory template)\n"
    "    --mini                the small page about one file (Mini template)\n"
    "    --template PATH       a template of your own (UTF-16LE with byte-order mark)\n"
    "    --covername PATTERN   cover file beside the music (default folder.jpg;\n"
    "                          %a artist, %b album, %y year)\n"
    "    --skin DIR            colour the page like the player skin in DIR\n"
    "                          (its pledit.txt; a skin with skin.xml gets the\n"
    "                          default colours of modern skins)\n"
    "    --skip TYPE           do not read TYPE files (mp3, mp4, aac, ogg, flac, mpc)\n"
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
    "\n"
    "Options:\n"
    "  --help                  show this help\n"
    "  --version               show the version\n"
    "  --debug                 write the diagnostic log to standard error\n";

}  // namespace

void writeText(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

void printUsage(std::FILE* stream) {
  writeText(stream, kUsage);
}

int runTunora(const Arguments& args, std::FILE* out, std::FILE* err) {
  // The diagnostic log would mix with the tool's own output on stdout.
  setDebugLogStream(nullptr);
  Arguments rest;
  for (const auto& arg : args) {
    if (arg == u"--debug")
      setDebugLogStream(err);
    else
      rest.push_back(arg);
  }
  if (!rest.empty() && (rest[0] == u"--help" || rest[0] == u"-h")) {
    printUsage(out);
    return 0;
  }
  if (!rest.empty() && rest[0] == u"--version") {
    writeText(out, "tunora " TUNORA_VERSION "\n");
    return 0;
  }
  if (rest.empty()) {
    printUsage(err);
    return 2;
  }
  const std::u16string command = rest[0];
  rest.erase(rest.begin());
  if (command == u"tags") return runTagsCommand(rest, out, err);
  if (command == u"page") return runPageCommand(rest, out, err);
  if (command == u"covers") return runCoversCommand(rest, out, err);
  writeText(err, "tunora: unknown command '" + convertUTF16ToUTF8(command) + "'\n");
  printUsage(err);
  return 2;
}

}  // namespace tunora
