#pragma once
// What a page is about before anything is read: the entries of the list and
// the template slot they are shown with.

#include <string>
#include <vector>

#include "hostlink/host_link.h"
#include "htmlcreator/html_creator.h"

namespace tunora {

struct PageRequest {
  std::vector<std::u16string> files;
  TemplateSlot slot = TemplateSlot::SingleTrack;
};

// The file the player plays as a list entry: lower-cased (ASCII letters
// only, as the player's names are compared) and without surrounding blanks;
// empty when the player names none.
std::u16string playingFileEntry(const HostLink& host);

// Each entry without surrounding blanks; directory mode takes the directory
// template, one entry the single-track and several the multiple-tracks
// template. An empty list stands for the playing file, alone on a
// single-track page.
PageRequest choosePageRequest(std::vector<std::u16string> files, bool directoryMode,
                              const HostLink& host);

}  // namespace tunora
