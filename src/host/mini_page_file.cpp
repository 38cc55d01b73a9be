#include "host/mini_page_file.h"

#include "io/file.h"
#include "text/ascii_case.h"

namespace tunora::host {
namespace {

// A planted name costs one reservation; a few more cannot all be taken.
constexpr int kReservationTries = 4;

}  // namespace

std::u16string miniPageNameOf(std::u16string_view reservation) {
  constexpr std::u16string_view kTemporary = u".tmp";
  std::u16string page(reservation);
  if (page.size() >= kTemporary.size() &&
      equalIgnoringAsciiCase(std::u16string_view(page).substr(page.size() - kTemporary.size()),
                             kTemporary))
    page.resize(page.size() - kTemporary.size());
  return page + u".html";
}

bool createNewFile(std::u16string_view path) {
  auto file = File::open(path, File::Mode::CreateNew);
  return file && file->close();
}

std::optional<MiniPageFiles> makeMiniPageFiles() {
  for (int attempt = 0; attempt < kReservationTries; ++attempt) {
    const std::string reserved = makeTempFileName();
    if (reserved.empty()) return std::nullopt;
    MiniPageFiles files{pathFromNative(reserved), {}};
    files.page = miniPageNameOf(files.reservation);
    if (createNewFile(files.page)) return files;
    deleteFile(files.reservation);
  }
  return std::nullopt;
}

}  // namespace tunora::host
