// tunora page: the page generator without a player.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/argument_parser.h"
#include "cli/cli.h"
#include "cli/cli_host_link.h"
#include "cli/folder_walk.h"
#include "cli/output_guard.h"
#include "cli/page_output.h"
#include "cli/progress_line.h"
#include "cli/template_warnings.h"
#include "htmlcreator/page_builder.h"
#include "htmlcreator/temp_covers.h"
#include "io/file.h"
#include "io/text_file.h"
#include "skin/skin_colours.h"
#include "text/conversions.h"
#include "tracks/track_class.h"

namespace tunora {
namespace {

constexpr std::u16string_view kDefaultPageName = u"tunora.html";

struct PageOptions {
  std::vector<std::u16string> files;
  std::optional<std::u16string> directory;
  bool recursive = false;
  bool mini = false;
  std::optional<std::u16string> templatePath;
  std::optional<std::u16string> coverName;
  std::optional<std::u16string> skinFolder;
  FileTypeSwitches switches;
  std::u16string output{kDefaultPageName};
  TextFileEncoding encoding = TextFileEncoding::Utf16;
};

std::string shown(std::u16string_view text) {
  return "'" + convertUTF16ToUTF8(text) + "'";
}

bool skipType(FileTypeSwitches& switches, std::u16string_view type) {
  const std::pair<std::u16string_view, bool FileTypeSwitches::*> types[] = {
      {u"mp3", &FileTypeSwitches::mp3},          {u"mp4", &FileTypeSwitches::mp4},
      {u"aac", &FileTypeSwitches::aac},          {u"ogg", &FileTypeSwitches::ogg},
      {u"flac", &FileTypeSwitches::flac},        {u"mpc", &FileTypeSwitches::mpc},
      {u"opus", &FileTypeSwitches::opus},        {u"wav", &FileTypeSwitches::wav},
      {u"aiff", &FileTypeSwitches::aiff},        {u"wv", &FileTypeSwitches::wavPack},
      {u"ape", &FileTypeSwitches::monkeysAudio}, {u"wma", &FileTypeSwitches::asf}};
  for (const auto& [name, flag] : types) {
    if (name != type) continue;
    switches.*flag = false;
    return true;
  }
  return false;
}

// The status to end with when no page is to be built: the usage has been
// shown, or a wrong argument reported.
std::optional<int> parseOptions(const CommandLine& args, PageOptions& options, std::FILE* out,
                                std::FILE* err) {
  bool utf8 = false;
  std::vector<std::u16string> skipped;
  ArgumentParser parser;
  parser.option("--directory", options.directory);
  parser.flag("--recursive", options.recursive);
  parser.flag("--mini", options.mini);
  parser.option("--template", options.templatePath);
  parser.option("--covername", options.coverName);
  parser.option("--skin", options.skinFolder);
  parser.repeatedOption("--skip", skipped);
  parser.option("-o", options.output);
  parser.flag("--utf8", utf8);
  parser.operands(options.files);
  if (const auto status = parser.parse(args, out, err)) return status;
  if (utf8) options.encoding = TextFileEncoding::Utf8;
  for (const std::u16string& type : skipped)
    if (!skipType(options.switches, type))
      return argumentError(err, "unknown file type " + shown(type) +
                                    " (mp3, mp4, aac, ogg, flac, mpc, opus, wav or aiff)");
  const bool haveFiles = !options.files.empty();
  if (options.directory ? haveFiles || options.mini : !haveFiles)
    return argumentError(
        err, options.directory ? "--directory takes no further files" : "no music file given");
  if (options.mini && options.files.size() != 1) return argumentError(err, "--mini takes one file");
  if (options.recursive && !options.directory)
    return argumentError(err, "--recursive goes with --directory");
  return std::nullopt;
}

// The files of --directory; nothing, with the reason reported, when the
// folder cannot be listed.
std::optional<FolderListing> directoryFiles(const PageOptions& options, std::FILE* err) {
  const std::u16string& folder = *options.directory;
  std::error_code failed;
  const std::filesystem::path path = toFsPath(folder);
  const auto kind = std::filesystem::status(path, failed).type();
  // An empty listing would say "no supported files" of a folder never read.
  if (kind == std::filesystem::file_type::directory) {
    const std::filesystem::directory_iterator probe(path, failed);
  }
  if (failed && failed != std::errc::no_such_file_or_directory &&
      failed != std::errc::not_a_directory) {
    const bool denied = failed == std::errc::permission_denied;
    writeText(err, "tunora: cannot read --directory " + shown(folder) + ": " +
                       (denied ? "permission denied" : failed.message()) + "\n");
    return std::nullopt;
  }
  if (kind != std::filesystem::file_type::directory) {
    const bool exists = kind != std::filesystem::file_type::not_found;
    writeText(err, "tunora: --directory " + shown(folder) +
                       (exists ? " is not a folder\n" : " does not exist\n"));
    return std::nullopt;
  }
  FolderListing listing =
      musicFilesIn(folder, options.recursive, options.switches,
                   [err](const std::string& note) { writeText(err, "tunora: " + note + "\n"); });
  if (listing.files.empty() && listing.foldersLeftOut > 0)
    writeText(err, "tunora: " + shown(folder) + " holds only folders; --directory does not " +
                       "descend into them without --recursive\n");
  return listing;
}

struct ReadableFiles {
  std::size_t count = 0;
  bool someUnopened = false;
};

// Reports each file that cannot be read and gives how many can.
ReadableFiles countReadableFiles(const std::vector<std::u16string>& files,
                                 const FileTypeSwitches& switches, std::FILE* err) {
  ReadableFiles readable;
  for (const std::u16string& name : files) {
    auto file = File::open(name, File::Mode::Read);
    if (!file) {
      readable.someUnopened = true;
      std::error_code ignored;
      const std::string reason = std::filesystem::is_directory(toFsPath(name), ignored)
                                     ? "it is a folder"
                                     : lastFileError();
      writeText(err, "tunora: cannot open " + shown(name) + ": " + reason + "\n");
    } else if (!chooseTrackClass(name, false, switches)) {
      writeText(err, "tunora: " + shown(name) + " is not of a supported type\n");
    } else if (file->size() == 0) {
      writeText(err, "tunora: " + shown(name) + " is empty\n");
    } else {
      ++readable.count;
    }
  }
  return readable;
}

bool isBlank(const TextLines& page) {
  for (std::size_t i = 0; i < page.lineCount(); ++i)
    if (!page.line(i)->empty()) return false;
  return true;
}

TemplateSlot slotFor(const PageOptions& options, std::size_t count) {
  if (options.directory) return TemplateSlot::Directory;
  if (options.mini) return TemplateSlot::Mini;
  return count == 1 ? TemplateSlot::SingleTrack : TemplateSlot::MultipleTracks;
}

}  // namespace

int runPageCommand(const CommandLine& args, std::FILE* out, std::FILE* err) {
  PageOptions options;
  if (const auto status = parseOptions(args, options, out, err)) return *status;
  int status = 0;
  if (options.templatePath) {
    if (const int failed = checkTemplateOption(*options.templatePath, err); failed != 0)
      return failed;
  }

  std::vector<std::u16string> files = options.files;
  // Every file the page is built from or beside: none may become the page.
  std::vector<std::u16string> filesKept = options.files;
  if (options.directory) {
    auto listed = directoryFiles(options, err);
    if (!listed) return 2;
    files = std::move(listed->files);
    filesKept = files;
    filesKept.insert(filesKept.end(), listed->otherFiles.begin(), listed->otherFiles.end());
    if (listed->someUnread) status = 1;
  }
  if (options.skinFolder) {
    if (const int failed = checkSkinOption(*options.skinFolder, err); failed != 0) return failed;
  }
  PageSettings settings;
  if (options.coverName) settings.coverName = *options.coverName;
  settings.switches = options.switches;
  const bool toStandardOutput = options.output == u"-";
  if (const auto clash = toStandardOutput
                             ? std::nullopt
                             : fileReadAtOutput(options.output, filesKept, options.templatePath,
                                                settings.coverName)) {
    writeText(err, "tunora: refusing to write the page over " + shown(*clash) +
                       ", which it reads; choose another -o\n");
    return 2;
  }
  // A page on standard output takes its covers where the default page would:
  // it is mostly kept in the current folder.
  const std::u16string pagePath =
      toStandardOutput ? std::u16string(kDefaultPageName) : pagePlace(options.output);
  const CliHostLink host(pagePath, options.skinFolder);
  PageOutputError error;
  auto output = PageOutput::prepare(pagePath, *host.coverFolder(), error);
  if (!output) {
    writeText(err, "tunora: cannot write " + shown(pagePath) + ": " + error.reason + "\n");
    return error.status;
  }
  if (!options.directory) {
    const ReadableFiles readable = countReadableFiles(files, settings.switches, err);
    if (readable.count == 0 || readable.someUnopened) status = 1;
  }

  const TemplateSlot slot = slotFor(options, files.size());
  HtmlCreator creator(nullptr, host);
  creator.chooseTemplate(slot, options.templatePath.value_or(u""));
  // Without --skin the colours are the built-in ones.
  PageColours colours;
  GenericColourTable genericColours;
  refreshSkinColours(host, genericColours, colours);
  // This page's covers are written over those of an earlier page, in place;
  // the rest of the earlier ones go once the page is written. This page's
  // stay for whoever opens it.
  const TempCovers covers(host, TempCovers::AtEnd::Keep);
  output->attachCovers(covers);

  BuiltPage built;
  {
    ProgressLine progress(err, files.size());
    built = buildPage(creator, settings, colours, files, slot, {}, [&] { progress.advance(); });
  }
  if (built.trackCount == 0) {
    // An empty directory lists nothing at all; the page says so as well.
    if (files.empty()) built.page = creator.fixedPage(kResourceNoSupportedFiles, colours);
    built.page.setUnicode(true);
    writeText(err, "tunora: no supported files found\n");
    status = 1;
  }
  if (isBlank(built.page)) {
    writeText(err, "tunora: the template gave an empty page; " + shown(options.output) +
                       " is left as it was\n");
    return 1;
  }
  // Without a byte-order mark a browser goes by the declaration: the first
  // in the head counts, and the templates' own says UTF-16.
  if (options.encoding == TextFileEncoding::Utf8) {
    built.page.replaceAll(u"charset=utf-16", u"charset=utf-8");
    addToHead(built.page, u"<meta charset=\"utf-8\">");
  }
  if (toStandardOutput) {
    const std::vector<std::uint8_t> bytes = encodeTextFile(built.page, options.encoding);
    output->keepCovers();
    covers.deleteAll(built.coverFiles);
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
      writeText(err, "tunora: cannot write the page to standard output\n");
      return 1;
    }
    return status;
  }
  if (!output->commit(built.page, options.encoding, error.reason)) {
    writeText(err, "tunora: cannot write " + shown(options.output) + ": " + error.reason + "\n");
    return 1;
  }
  covers.deleteAll(built.coverFiles);
  std::error_code ignored;
  const auto written = std::filesystem::absolute(toFsPath(options.output), ignored);
  writeText(out, "Page written to " + convertUTF16ToUTF8(fromFsPath(written)) + "\n");
  return status;
}

}  // namespace tunora
