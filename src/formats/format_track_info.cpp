#include "formats/format_track_info.h"

#include <optional>
#include <utility>
#include <vector>

namespace tunora {

void FormatTrackInfo::takePicture(const FLACPicture& picture) {
  if (coverBytes() == CoverBytes::Kept)
    takeCover(Bytes(picture.data));
  else
    takeCoverSize(picture.size);
}

void FormatTrackInfo::takePicture(const TagPicture& picture) {
  if (!picture.has()) return;
  if (coverBytes() == CoverBytes::Kept)
    takeCover(Bytes(picture.bytes()));
  else
    takeCoverSize(picture.size());
}

void FormatTrackInfo::takeTagTexts(TagTexts&& texts) {
  takeTagValues(std::move(texts), texts.genre());
  const bool hasComment = texts.hasComment();
  const bool hasLyrics = texts.hasLyrics();
  if (hasComment) takeComment(std::move(texts).takeComment());
  if (hasLyrics) takeLyrics(std::move(texts).takeLyrics());
}

void FormatTrackInfo::takeTagTexts(TagTexts&& first, TagTexts&& second) {
  takeTagValues(std::move(second), second.genre());
  const auto over = [](std::optional<std::u16string>& field, const std::u16string& text) {
    if (auto known = knownText(text)) field = std::move(known);
  };
  over(track_.title, first.title());
  over(track_.artist, first.artist());
  over(track_.album, first.album());
  over(track_.year, first.year());
  over(track_.trackNumber, first.track());
  over(track_.genre, first.genre());
  over(track_.albumArtist, first.albumArtist());
  over(track_.discNumber, first.disc());
  over(track_.composer, first.composer());
  TagTexts& comment = first.hasComment() ? first : second;
  if (comment.hasComment()) takeComment(std::move(comment).takeComment());
  TagTexts& lyrics = first.hasLyrics() ? first : second;
  if (lyrics.hasLyrics()) takeLyrics(std::move(lyrics).takeLyrics());
}

void FormatTrackInfo::takeChunkTags(TagTexts&& texts, TagKind textsKind, ID3v2Tag&& id3v2) {
  std::vector<TagKind> present;
  if (texts.isPresent()) present.push_back(textsKind);
  if (id3v2.isPresent()) present.push_back(TagKind::ID3v2);
  track_.hasTag = !present.empty();
  track_.tagKinds = presentTagsText(present);
  takePicture(id3v2.tagPicture());
  takeTagTexts(std::move(id3v2), std::move(texts));
}

}  // namespace tunora
