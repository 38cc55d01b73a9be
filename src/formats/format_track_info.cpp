#include "formats/format_track_info.h"

namespace tunora {

void FormatTrackInfo::takePicture(const FLACPicture& picture) {
  if (coverBytes() == CoverBytes::Kept)
    takeCover(Bytes(picture.data));
  else
    takeCoverSize(picture.size);
}

void FormatTrackInfo::takeTagTexts(TagTexts&& texts) {
  takeTagValues(texts, texts.genre());
  commentFound_ = texts.hasComment();
  lyricsFound_ = texts.hasLyrics();
  comment_ = std::move(texts).takeComment();
  lyrics_ = std::move(texts).takeLyrics();
}

}  // namespace tunora
