#include "formats/format_track_info.h"

namespace tunora {

void FormatTrackInfo::takeTagTexts(const TagTexts& texts) {
  title_ = texts.title();
  artist_ = texts.artist();
  album_ = texts.album();
  year_ = texts.year();
  trackNumber_ = texts.track();
  genre_ = texts.genre();
  comment_.assign(texts.comment());
  commentFound_ = texts.hasComment();
}

}  // namespace tunora
