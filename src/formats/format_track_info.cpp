#include "formats/format_track_info.h"

namespace tunora {

void FormatTrackInfo::takeTagTexts(const TagTexts& texts) {
  takeTagValues(texts, texts.genre());
  comment_.assign(texts.comment());
  commentFound_ = texts.hasComment();
  lyrics_.assign(texts.lyrics());
  lyricsFound_ = texts.hasLyrics();
}

}  // namespace tunora
