#include "dispatch/page_dispatch.h"

#include <memory>

#include "dispatch/page_request.h"
#include "hostlink/player_names.h"
#include "htmlcreator/page_builder.h"
#include "io/file.h"
#include "io/text_file.h"
#include "text/ascii_case.h"
#include "text/debug_log.h"
#include "text/text_edits.h"
#include "tracks/host_track_info.h"

namespace tunora {
namespace {

constexpr std::u16string_view kMinibrowserPage = u"winampmb.htm";

// A single entry that no class reads: the player describes the file it
// plays; about any other file nothing is known.
DescribeUnsupported describeThroughPlayer(const HostLink& host) {
  return [&host](const std::u16string& name) {
    const std::u16string playing = playingFileEntry(host);
    if (toLowerAscii(name) != playing) return Track{};
    debugLog("looking up info: winamp\n");
    HostTrackInfo track(host);
    track.readFile(name);
    return track.takeTrack();
  };
}

// The page generator's part of the pages: the only two functions that know
// its interface.
BuiltPage buildPageOf(const DispatchContext& context, const std::vector<std::u16string>& files,
                      TemplateSlot slot) {
  return buildPage(context.creator, context.settings, context.colours, files, slot,
                   describeThroughPlayer(context.host));
}

TextLines startPageLines(const DispatchContext& context) {
  TextLines page = context.creator.fixedPage(kResourceStartPage, context.colours);
  // The built-in page is 8-bit text but is written as UTF-16; without the
  // byte-order mark a browser would not read it as such.
  page.setUnicode(true);
  return page;
}

PageResult savePage(const TextLines& page, const std::optional<std::u16string>& outputPath,
                    std::u16string_view playerExecutable) {
  const auto pageFile = outputPath ? outputPath : minibrowserPageFile(playerExecutable);
  PageResult result;
  if (!pageFile || saveTextFile(page, *pageFile) != 1) return result;
  result.written = true;
  if (!outputPath) result.minibrowserUrl = u"file://" + *pageFile;
  return result;
}

}  // namespace

std::optional<std::u16string> minibrowserPageFile(std::u16string_view playerExecutable) {
  std::u16string pageFile = toLowerAscii(playerExecutable);
  if (replaceText(pageFile, kPlayerExecutableName, kMinibrowserPage, false) == 0)
    return std::nullopt;
  return pageFile;
}

PageResult createPage(const DispatchContext& context, const std::vector<std::u16string>& files,
                      const std::optional<std::u16string>& outputPath, TemplateSlot slot) {
  if (files.empty()) return {};
  const BuiltPage built = buildPageOf(context, files, slot);
  PageResult result = savePage(built.page, outputPath, context.playerExecutable);
  result.coverSearch = built.coverSearch;
  return result;
}

PageResult showFiles(const DispatchContext& context, std::vector<std::u16string> files,
                     bool directoryMode) {
  PageRequest request = choosePageRequest(std::move(files), directoryMode, context.host);
  return createPage(context, request.files, std::nullopt, request.slot);
}

PageResult showSelected(const DispatchContext& context, std::vector<std::u16string> collected) {
  return showFiles(context, std::move(collected), false);
}

PageResult showDirectory(const DispatchContext& context,
                         const std::vector<std::u16string>& collected) {
  if (collected.empty()) return {};
  return showFiles(context, listFiles(nativeFolderOf(collected.front())), true);
}

PageResult showStartPage(const DispatchContext& context) {
  return savePage(startPageLines(context), std::nullopt, context.playerExecutable);
}

}  // namespace tunora
