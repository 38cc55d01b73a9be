// tunora covers: the cover search without the dialog.

#include <optional>
#include <string>

#include "cli/cli.h"
#include "cli/plain_text.h"
#include "coversearch/cover_saving.h"
#include "coversearch/cover_source.h"
#include "coversearch/musicbrainz.h"
#include "io/file.h"
#include "text/conversions.h"

namespace tunora {
namespace {

struct CoversOptions {
  StoreVariant variant = StoreVariant::Us;
  bool musicBrainz = false;
  std::optional<std::string> host;
  std::optional<std::u16string> output;
  std::vector<std::string> words;  // keywords, or the link
  bool help = false;
};

std::string shown(std::u16string_view text) {
  return "'" + convertUTF16ToUTF8(text) + "'";
}

std::optional<CoversOptions> parseOptions(const Arguments& args, std::FILE* err) {
  CoversOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::u16string& arg = args[i];
    const bool takesValue = arg == u"--store" || arg == u"--host" || arg == u"-o";
    if (arg == u"--help" || arg == u"-h") {
      options.help = true;
      return options;
    }
    if (!takesValue) {
      if (arg.size() > 1 && arg[0] == u'-') {
        writeText(err, "tunora: unknown option " + shown(arg) + "\n");
        return std::nullopt;
      }
      // The store reads 8-bit text, as the platform's paths are.
      options.words.push_back(pathToNative(arg));
      continue;
    }
    if (++i == args.size()) {
      writeText(err, "tunora: option " + shown(arg) + " needs a value\n");
      return std::nullopt;
    }
    const std::u16string& value = args[i];
    if (arg == u"-o") {
      options.output = value;
    } else if (arg == u"--host") {
      options.host = pathToNative(value);
    } else if (value == u"us" || value == u"de") {
      options.variant = value == u"us" ? StoreVariant::Us : StoreVariant::German;
    } else if (value == u"mb") {
      options.musicBrainz = true;
    } else {
      writeText(err, "tunora: unknown store " + shown(value) + " (us, de or mb)\n");
      return std::nullopt;
    }
  }
  return options;
}

// The source the options name; --host puts both MusicBrainz services on
// that host, over plain HTTP.
std::unique_ptr<CoverSource> sourceOf(const CoversOptions& options, HttpClient& client) {
  if (options.musicBrainz) {
    MusicBrainzService service;
    if (options.host) service.searchUrl = service.coverArtUrl = "http://" + *options.host;
    return std::make_unique<MusicBrainzSource>(client, service);
  }
  const StoreHosts defaults;
  std::string host = options.host.value_or(options.variant == StoreVariant::German ? defaults.german
                                                                                   : defaults.us);
  return std::make_unique<StoreFrontSource>(client, std::move(host), options.variant);
}

int search(const CoversOptions& options, std::FILE* out, std::FILE* err) {
  std::string keywords;
  for (const auto& word : options.words) keywords += (keywords.empty() ? "" : " ") + word;
  const auto client = makeStandaloneHttpClient();
  CoverResults results;
  const auto source = sourceOf(options, *client);
  if (!source->search(keywords, results)) {
    writeText(err, "tunora: cannot search " + escapeControls(source->failure()) + "\n");
    return 1;
  }
  writeText(out, "Found " + std::to_string(results.size()) + " items\n");
  // The texts come from a server: nothing in them may steer the terminal.
  for (std::size_t i = 0; i < results.size(); ++i)
    writeText(out, std::to_string(i + 1) + ". " + escapeControls(results[i].text) + "\n   " +
                       escapeControls(results[i].link) + "\n");
  return 0;
}

int get(const CoversOptions& options, std::FILE* out, std::FILE* err) {
  const auto client = makeStandaloneHttpClient();
  const auto source = sourceOf(options, *client);
  // What is saved is the download itself: it must be a whole picture.
  source->acceptOnlyWholeJpegs();
  const auto cover = source->findCover(options.words[0]);
  if (!cover) {
    writeText(err,
              "tunora: No cover found for this item (" + escapeControls(source->failure()) + ")\n");
    return 1;
  }
  if (!saveCover(*cover, *options.output)) {
    writeText(err, "tunora: Could not create file " + shown(*options.output) + "\n");
    return 1;
  }
  writeText(out, "Cover saved to " + convertUTF16ToUTF8(*options.output) + "\n");
  return 0;
}

}  // namespace

int runCoversCommand(const Arguments& args, std::FILE* out, std::FILE* err) {
  const std::u16string action = args.empty() ? u"" : args[0];
  const auto options =
      parseOptions(Arguments(args.begin() + (args.empty() ? 0 : 1), args.end()), err);
  const bool searching = action == u"search";
  const bool getting = action == u"get";
  if ((options && options->help) || action == u"--help" || action == u"-h") {
    printUsage(out);
    return 0;
  }
  if (!options || (!searching && !getting) || options->words.empty() ||
      (getting && (options->words.size() != 1 || !options->output)) ||
      (searching && options->output)) {
    if (options && !searching && !getting) writeText(err, "tunora: covers takes search or get\n");
    printUsage(err);
    return 2;
  }
  return searching ? search(*options, out, err) : get(*options, out, err);
}

}  // namespace tunora
