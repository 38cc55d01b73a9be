#include "htmlcreator/page_builder.h"

#include "tracks/track_class.h"

namespace tunora {

BuiltPage buildPage(const HtmlCreator& creator, const PageSettings& settings,
                    const PageColours& colours, const std::vector<std::u16string>& files,
                    TemplateSlot slot, const DescribeUnsupported& describeUnsupported,
                    const EntryRead& entryRead) {
  BuiltPage built;
  if (files.empty()) return built;
  MultipleTags tracks;
  for (const auto& file : files) {
    if (file.empty()) continue;
    const ResolvedEntry entry = resolveEntryName(file);
    if (auto track = readSupportedTrack(entry, settings.switches)) {
      tracks.add(std::move(track));
    } else if (files.size() == 1) {
      tracks.add(describeUnsupported ? describeUnsupported(entry.name) : Track{});
    }
    if (entryRead) entryRead();
  }
  built.trackCount = tracks.count();
  if (tracks.count() == 0) {
    built.page = creator.fixedPage(kResourceNoSupportedFiles, colours);
  } else {
    built.page.assign(creator.templateLines(slot));
    PageRun run{settings, colours};
    creator.processTemplate(built.page, tracks, run);
    built.coverSearch = std::move(run.lastFilled);
    built.coverFiles = std::move(run.coverFiles);
  }
  built.page.setUnicode(true);
  return built;
}

}  // namespace tunora
