#pragma once

#include <string>

#include "trackinfo/tagged_track_info.h"

namespace tunora {

// Not read yet: answers the defaults until its reader lands.
class MP3Info : public TaggedTrackInfo {
 public:
  int readFile(const std::u16string& path) override;
};

}  // namespace tunora
