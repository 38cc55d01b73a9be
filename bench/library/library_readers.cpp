#include "library_readers.h"

#include <cstdio>
#include <vector>

#include "io/file.h"
#include "tracks/track_class.h"

namespace tunora::bench {
namespace {

std::uint64_t sumOf(std::u16string_view text) {
  std::uint64_t sum = 0;
  for (const char16_t unit : text) sum += unit;
  return sum;
}

}  // namespace

ReadTotals readWithTunora(const std::vector<std::string>& files) {
  ReadTotals totals;
  for (const auto& name : files) {
    const auto path = pathFromNative(name);
    const auto type = chooseTrackClass(path, false, FileTypeSwitches{});
    if (!type) continue;
    auto track = createTrackInfo(*type);
    track->readFile(path);
    ++totals.files;
    if (track->getTitle() != kUnknown) ++totals.titled;
    for (const auto& text :
         {track->getTitle(), track->getArtist(), track->getAlbum(), track->getYear(),
          track->getTrackNumber(), track->getGenre(), track->getBitrate(), track->getSampleRate(),
          track->getStereoMode(), track->getPresentTags()})
      totals.checksum += sumOf(text);
    if (const auto* comment = track->getComment())
      totals.checksum += sumOf(comment->line(0).value_or(u""));
    if (const auto* cover = track->getCoverData()) {
      ++totals.covered;
      totals.coverBytes += cover->size();
    }
  }
  return totals;
}

ReadTotals readFloor(const std::vector<std::string>& files) {
  constexpr long kHead = 64 * 1024;
  constexpr long kTail = 4 * 1024;
  std::vector<std::uint8_t> buffer(kHead);
  ReadTotals totals;
  for (const auto& name : files) {
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) continue;
    totals.checksum += std::fread(buffer.data(), 1, kHead, file);
    if (std::fseek(file, -kTail, SEEK_END) == 0)
      totals.checksum += std::fread(buffer.data(), 1, kTail, file);
    std::fclose(file);
    ++totals.files;
  }
  return totals;
}

}  // namespace tunora::bench
