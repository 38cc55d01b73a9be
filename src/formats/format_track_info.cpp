#include "formats/format_track_info.h"

namespace tunora {

void FormatTrackInfo::takeTagTexts(const TagTexts& texts) {
  takeTagValues(texts, texts.genre());
  comment_.assign(texts.comment());
  commentFound_ = texts.hasComment();
  lyrics_.assign(texts.lyrics());
  lyricsFound_ = texts.hasLyrics();
}

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
