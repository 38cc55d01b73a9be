#include "formats/format_track_info.h"

#include <utility>

#include "text/helpers.h"

namespace tunora {

const std::u16string& FormatTrackInfo::getYear() {
  reduceYear(year_);
  return year_;
}

const std::u16string& FormatTrackInfo::getGenre() {
  stripGenreNumber(genre_);
  return genre_;
}

void FormatTrackInfo::takeTagTexts(TagTexts&& texts) {
  title_ = std::move(texts.title);
  artist_ = std::move(texts.artist);
  album_ = std::move(texts.album);
  year_ = std::move(texts.year);
  trackNumber_ = std::move(texts.trackNumber);
  genre_ = std::move(texts.genre);
  comment_ = std::move(texts.comment);
  commentFound_ = texts.commentFound;
}

}  // namespace tunora
