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
  const bool hasComment = texts.hasComment();
  const bool hasLyrics = texts.hasLyrics();
  if (hasComment) takeComment(std::move(texts).takeComment());
  if (hasLyrics) takeLyrics(std::move(texts).takeLyrics());
}

}  // namespace tunora
