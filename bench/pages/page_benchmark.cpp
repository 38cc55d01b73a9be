// Directory pages of 10 to 10,000 tracks from the default directory template.
// The tracks are made in memory (no file reading, no covers); every iteration
// adds them to a fresh MultipleTags and processes a copy of the template, as
// the page dispatch does. Counters: seconds per track, and the peak resident
// memory of the process so far (sizes run in increasing order).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "htmlcreator/html_creator.h"
#include "support/memory_track.h"
#include "text/conversions.h"

namespace {

using tunora::testing::makeTrack;

std::u16string text(const std::string& ascii) {
  return tunora::widenLatin1(ascii);
}

// Ten albums by five artists, every seventh track with lyrics, every tenth
// with a comment, a few without year.
std::unique_ptr<tunora::TrackInfo> track(int i) {
  const std::string n = std::to_string(i);
  return makeTrack(
      {.file = text("/music/Artist " + std::to_string(i % 5) + "/Album " + std::to_string(i % 10) +
                    "/" + n + " - Song " + n + ".mp3"),
       .title = text("Song number " + n),
       .artist = text("Artist " + std::to_string(i % 5)),
       .album = text("Album " + std::to_string(i % 10)),
       .year = i % 13 == 0 ? u"Unknown" : text(std::to_string(1970 + i % 50)),
       .genre = text("Genre " + std::to_string(i % 7)),
       .trackNumber = text(std::to_string(i % 20 + 1) + "/20"),
       .presentTags = i % 2 ? u"ID3v1,ID3v2" : u"ID3v2",
       .comment = i % 10 == 0 ? std::optional<std::u16string>(u"A comment & more") : std::nullopt,
       .lyrics =
           i % 7 == 0 ? std::optional<std::u16string>(u"First line\nSecond <line>") : std::nullopt,
       .bitsPerSecond = static_cast<std::uint32_t>((128 + i % 3 * 64) * 1024),
       .hertz = 44100,
       .channels = 2});
}

double peakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void directoryPage(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const tunora::HostLink host;
  tunora::HtmlCreator creator(nullptr, host);
  creator.chooseTemplate(tunora::TemplateSlot::Directory, u"");
  const tunora::PageSettings settings;
  const tunora::PageColours colours;
  std::size_t lines = 0;
  for (auto _ : state) {
    tunora::MultipleTags tracks;
    for (int i = 0; i < count; ++i) tracks.add(track(i));
    tunora::TextLines page;
    page.assign(creator.templateLines(tunora::TemplateSlot::Directory));
    tunora::PageRun run(settings, colours);
    creator.processTemplate(page, tracks, run);
    lines = page.lineCount();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["per_track"] = benchmark::Counter(
      count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["page_lines"] = static_cast<double>(lines);
  state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

BENCHMARK(directoryPage)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
