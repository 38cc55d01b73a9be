#pragma once
// The values that a container's own tag block gives (MP4 item list, Vorbis
// comment block), collected apart from the track so that a parse that fails
// half-way cannot leave a track half-filled.

#include <string>

#include "text/text_lines.h"
#include "trackinfo/track_info.h"

namespace tunora {

struct TagTexts {
  std::u16string title{kUnknown};
  std::u16string artist{kUnknown};
  std::u16string album{kUnknown};
  std::u16string year{kUnknown};
  std::u16string trackNumber{kUnknown};
  std::u16string genre{kUnknown};
  TextLines comment;
  bool commentFound = false;
};

}  // namespace tunora
