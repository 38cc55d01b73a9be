#include "dispatch/page_request.h"

#include "text/helpers.h"

namespace tunora {
namespace {

// Blanks are 0x20 only, as for 8-bit texts.
std::u16string trimBlanks(std::u16string_view text) {
  const auto first = text.find_first_not_of(u' ');
  if (first == text.npos) return {};
  return std::u16string(text.substr(first, text.find_last_not_of(u' ') - first + 1));
}

}  // namespace

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
