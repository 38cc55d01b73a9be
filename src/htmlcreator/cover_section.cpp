// The cover of a track or of the group: settled once per page, then reused
// by every section that shows it.

#include <utility>

#include "htmlcreator/cover_export.h"
#include "htmlcreator/cover_files.h"
#include "htmlcreator/html_creator.h"
#include "htmlcreator/html_escape.h"
#include "htmlcreator/section_markers.h"
#include "io/file.h"
#include "io/safe_file_name.h"
#include "jpeg/jpeg_codec.h"
#include "text/ascii_case.h"
#include "text/debug_log.h"
#include "text/number_text.h"
#include "text/text_edits.h"
#include "trackinfo/cover_size.h"

namespace tunora {
namespace {

void dropCover(TextLines& section) {
  section.removeBlocks(kCoverBegin, kCoverEnd);
  section.replaceAll(kCoverHeight, u"");
  section.replaceAll(kCoverWidth, u"");
}

std::u16string coverText(const HostLink& host, std::u16string_view path) {
  return host.coverLink(path).value_or(escapeHtml(path));
}

void showCover(TextLines& section, const CoverState& state, const HostLink& host) {
  section.replaceAll(kCoverToken, coverText(host, state.name));
  section.replaceAll(kCoverHeight, state.height);
  section.replaceAll(kCoverWidth, state.width);
}

// A value that holds a separator would lead the search out of the music's
// folder; it cannot be part of a file name, so no such file exists.
bool fitsInFileName(std::u16string_view value) {
  return value.find_first_of(u"/\\") == std::u16string_view::npos;
}

// The cover file named by the pattern, beside the music file.
std::optional<std::u16string> coverFileBeside(std::u16string_view pattern,
                                              std::u16string_view musicPath,
                                              std::u16string_view artist, std::u16string_view album,
                                              std::u16string_view year) {
  // A bare file name is in the current folder.
  const auto separator = musicPath.rfind(static_cast<char16_t>(kPathSeparator));
  const std::u16string_view folder =
      musicPath.substr(0, separator == std::u16string_view::npos ? 0 : separator + 1);
  std::u16string name(pattern);
  // Only the values that the pattern uses must fit in a file name.
  const std::pair<std::u16string_view, std::u16string_view> tokens[] = {
      {u"%a", artist}, {u"%A", artist}, {u"%b", album},
      {u"%B", album},  {u"%y", year},   {u"%Y", year}};
  for (const auto& [token, value] : tokens) {
    if (name.find(token) == std::u16string::npos) continue;
    if (!fitsInFileName(value)) return std::nullopt;
    replaceText(name, token, value, true);
  }
  // A device's name opens the device, never a cover file.
  if (kDeviceNamesReserved && windowsSafeName(name) != name) return std::nullopt;
  if (folder.size() + name.size() > kMaxPathLength) return std::nullopt;
  return findFileIgnoringCase(folder, name);
}

// The cover made from these bytes, written to the track's or group's
// temporary file, which does not exist yet.
bool writeCover(std::span<const std::uint8_t> jpeg, std::u16string_view destination, PageRun& run,
                CoverState& state) {
  const PreparedCover* cover = run.covers.prepare(jpeg, run.recolour ? &run.duotone : nullptr);
  if (cover == nullptr || !writeWholeFileIfChanged(destination, cover->bytes)) return false;
  run.coverFiles.emplace_back(destination);
  state.width = decimalText(cover->width);
  state.height = decimalText(cover->height);
  return true;
}

}  // namespace

void HtmlCreator::fillCover(TextLines& section, CoverState& state, const CoverRequest& request,
                            PageRun& run) const {
  if (state.settled) {
    if (equalIgnoringAsciiCase(state.name, kCoverNotFound))
      dropCover(section);
    else
      showCover(section, state, host_);
    return;
  }
  bool exported = false;
  if (request.tempPath && prepareTempCover(*request.tempPath)) {
    const std::u16string& temp = *request.tempPath;
    if (request.hasPicture) {
      // The path stands in the page even if the picture then fails to export.
      section.replaceAll(kCoverToken, coverText(host_, temp));
      state.name = temp;
      // Pictures too small to be one are not written at all.
      exported = request.picture != nullptr && isLargeEnoughForCover(request.picture->size()) &&
                 writeCover(*request.picture, temp, run, state);
      // A picture that cannot be shown must not hide the cover file.
      if (!exported) debugLog("cover: the embedded picture is no usable JPEG; dropped\n");
    }
    if (!exported) {
      if (const auto candidate = coverFileBeside(run.settings.coverName, request.musicPath,
                                                 request.artist, request.album, request.year)) {
        state.name = temp;
        section.replaceAll(kCoverToken, coverText(host_, temp));
        const auto bytes = readJpegFile(*candidate);
        exported = bytes && writeCover(*bytes, temp, run, state);
      }
    }
    // Nothing unused stays behind.
    if (!exported) deleteFile(temp);
  }
  state.settled = true;
  if (exported) {
    section.replaceAll(kCoverHeight, state.height);
    section.replaceAll(kCoverWidth, state.width);
    return;
  }
  dropCover(section);
  state.name = std::u16string(kCoverNotFound);
  state.width.clear();
  state.height.clear();
}

}  // namespace tunora
