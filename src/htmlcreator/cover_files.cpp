#include "htmlcreator/cover_files.h"

#include <filesystem>

#include "io/file.h"
#include "text/debug_log.h"
#include "text/number_text.h"

namespace tunora {
namespace {

std::optional<std::u16string> coverPath(const HostLink& host, std::u16string_view name) {
  auto folder = host.coverFolder();
  if (!folder || folder->empty()) return std::nullopt;
  std::u16string path = *folder + std::u16string(name);
  if (path.size() > kMaxPathLength) return std::nullopt;
  return path;
}

std::u16string folderPart(std::u16string_view path) {
  const auto separator = path.rfind(static_cast<char16_t>(kPathSeparator));
  return std::u16string(path.substr(0, separator == path.npos ? 0 : separator + 1));
}

}  // namespace

std::optional<std::u16string> groupCoverPath(const HostLink& host) {
  return coverPath(host, u"_tmpdir.jpg");
}

std::optional<std::u16string> trackCoverPath(const HostLink& host, std::size_t index) {
  return coverPath(host, u"_tmptrk" + decimalText(index) + u".jpg");
}

bool isTrackCoverName(std::u16string_view name) {
  constexpr std::u16string_view prefix = u"_tmptrk";
  constexpr std::u16string_view suffix = u".jpg";
  if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
      !name.ends_with(suffix))
    return false;
  const auto digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return digits.find_first_not_of(u"0123456789") == std::u16string_view::npos;
}

bool prepareTempCover(std::u16string_view path) {
  const std::u16string folder = folderPart(path);
  if (folder.empty()) return false;
  if (isOwnFolder(folder)) {
    resetFileAttributes(path);
    return true;
  }
  // A link or someone else's folder in its place is not ours to write in.
  std::error_code ignored;
  if (std::filesystem::exists(std::filesystem::symlink_status(toFsPath(folder), ignored))) {
    debugLog("not our cover folder: '%s'\n", pathToNative(folder).c_str());
    return false;
  }
  debugLog("create dir: '%s'\n", pathToNative(folder).c_str());
  return createFolder(folder) && isOwnFolder(folder);
}

}  // namespace tunora
