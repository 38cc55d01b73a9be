// tunora covers: the cover search without the dialog.

#include <optional>
#include <string>

#include "cli/argument_parser.h"
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
  bool searching = false;
  StoreVariant variant = StoreVariant::Us;
  bool musicBrainz = false;
  std::optional<std::string> host;
  std::optional<std::u16string> output;
  std::vector<std::string> words;  // keywords, or the link
};

std::string shown(std::u16string_view text) {
  return "'" + convertUTF16ToUTF8(text) + "'";
}

// The status to end with when nothing is to be searched or saved: the usage
// has been shown, or a wrong argument reported.
std::optional<int> parseOptions(const CommandLine& args, CoversOptions& options, std::FILE* out,
                                std::FILE* err) {
  std::optional<std::u16string> store;
  std::optional<std::u16string> host;
  std::vector<std::u16string> operands;
  ArgumentParser parser;
  parser.option("--store", store);
  parser.option("--host", host);
  parser.option("-o", options.output);
  parser.operands(operands);
  if (const auto status = parser.parse(args, out, err)) return status;
  const std::u16string action = operands.empty() ? u"" : operands.front();
  if (action != u"search" && action != u"get")
    return argumentError(err, "covers takes search or get");
  options.searching = action == u"search";
  if (store == u"de")
    options.variant = StoreVariant::German;
  else if (store == u"mb")
    options.musicBrainz = true;
  else if (store && store != u"us")
    return argumentError(err, "unknown store " + shown(*store) + " (us, de or mb)");
  // The store reads 8-bit text, as the platform's paths are.
  if (host) options.host = pathToNative(*host);
  for (auto word = operands.begin() + 1; word != operands.end(); ++word)
    options.words.push_back(pathToNative(*word));
  if (options.searching) {
    if (options.words.empty()) return argumentError(err, "covers search needs keywords");
    if (options.output) return argumentError(err, "covers search takes no -o");
  } else if (options.words.size() != 1 || !options.output) {
    return argumentError(err, "covers get takes one link and -o FILE");
  }
  return std::nullopt;
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

int runCoversCommand(const CommandLine& args, std::FILE* out, std::FILE* err) {
  CoversOptions options;
  if (const auto status = parseOptions(args, options, out, err)) return *status;
  return options.searching ? search(options, out, err) : get(options, out, err);
}

}  // namespace tunora
