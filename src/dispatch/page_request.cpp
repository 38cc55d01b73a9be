#include "dispatch/page_request.h"

#include "text/ascii_case.h"
#include "text/text_edits.h"

namespace tunora {
std::u16string playingFileEntry(const HostLink& host) {
  return trimBlanks(toLowerAscii(host.playingFile().value_or(u"")));
}

PageRequest choosePageRequest(std::vector<std::u16string> files, bool directoryMode,
                              const HostLink& host) {
  if (files.empty()) return {{playingFileEntry(host)}, TemplateSlot::SingleTrack};
  for (auto& file : files) file = trimBlanks(file);
  TemplateSlot slot = TemplateSlot::MultipleTracks;
  if (directoryMode) {
    slot = TemplateSlot::Directory;
  } else if (files.size() == 1) {
    slot = TemplateSlot::SingleTrack;
  }
  return {std::move(files), slot};
}

}  // namespace tunora
