#include "coversearch/cover_saving.h"

#include <filesystem>

#include "io/file.h"
#include "io/safe_file_name.h"
#include "text/text_edits.h"

namespace tunora {
namespace {

std::string fileNameSafe(std::string_view value) {
  std::string safe(value);
  for (char& c : safe)
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '_';
  return safe;
}

}  // namespace

std::string makeCoverFileName(std::string_view pattern, std::string_view artist,
                              std::string_view album) {
  std::string name(pattern);
  replaceText(name, "%a", fileNameSafe(artist), true);
  replaceText(name, "%b", fileNameSafe(album), true);
  return kDeviceNamesReserved ? windowsSafeName(name) : name;
}

bool saveCover(std::span<const std::uint8_t> cover, std::u16string_view target) {
  namespace fs = std::filesystem;
  std::error_code failed;
  const fs::file_status held = fs::status(toFsPath(target), failed);
  if (fs::exists(held) && (held.permissions() & fs::perms::owner_write) == fs::perms::none)
    return false;
  return writeWholeFile(target, cover);
}

}  // namespace tunora
