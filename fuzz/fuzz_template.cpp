// The template processor on arbitrary UTF-16 templates, with two tracks whose
// values look like tokens.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "hostlink/host_link.h"
#include "htmlcreator/html_creator.h"
#include "trackinfo/track_info.h"

namespace {
struct TokenTrack : tunora::TrackInfo {
  TokenTrack() {
    track_.title = u"<$songname$>";
    track_.artist = u"<$album$>&";
    tunora::TextLines lyrics;
    for (const char16_t unit : std::u16string_view(u"<$lyricsend$>\nla")) lyrics.appendUnit(unit);
    takeLyrics(std::move(lyrics));
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Made once: loading the embedded defaults would dominate every run.
  static const tunora::HostLink host;
  static tunora::HtmlCreator creator(nullptr, host);
  static const tunora::PageSettings settings;
  static const tunora::PageColours colours;
  tunora::TextLines page;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    page.appendUnit(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  tunora::MultipleTags tracks;
  tracks.add(std::make_unique<TokenTrack>());
  tracks.add(std::make_unique<tunora::TrackInfo>());
  tunora::PageRun run(settings, colours);
  creator.processTemplate(page, tracks, run);
  return 0;
}
