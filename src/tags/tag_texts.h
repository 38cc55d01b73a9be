#pragma once
// The values that ID3v2 and APEv2 tags both carry: the texts, each "Unknown"
// until a tag sets it, and the comment and lyrics buffers.

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "text/text_lines.h"
#include "trackinfo/track_info.h"

namespace tunora {

// The one way several values of a field become one text: the non-empty ones
// in stored order, "; " between them; empty when none has a character.
std::u16string joinValues(std::span<const std::u16string> values);
// The same, giving a lone value up rather than copying it.
std::u16string joinValues(std::vector<std::u16string>&& values);

class TagTexts {
 public:
  // At least one value was taken from the tag.
  bool isPresent() const { return present_; }
  const std::u16string& title() const& { return title_; }
  std::u16string title() && { return std::move(title_); }
  const std::u16string& artist() const& { return artist_; }
  std::u16string artist() && { return std::move(artist_); }
  const std::u16string& album() const& { return album_; }
  std::u16string album() && { return std::move(album_); }
  // As stored, with any total after a slash.
  const std::u16string& track() const& { return track_; }
  std::u16string track() && { return std::move(track_); }
  // The first four-digit run of the stored year, else "Unknown".
  const std::u16string& year() const& { return year_; }
  std::u16string year() && { return std::move(year_); }
  // Without a leading "(number)" group; ID3v2 tags name the genres that
  // such groups and bare numbers refer to.
  const std::u16string& genre() const { return genre_; }
  const std::u16string& albumArtist() const& { return albumArtist_; }
  std::u16string albumArtist() && { return std::move(albumArtist_); }
  // As stored, with any total after a slash.
  const std::u16string& disc() const& { return disc_; }
  std::u16string disc() && { return std::move(disc_); }
  const std::u16string& composer() const& { return composer_; }
  std::u16string composer() && { return std::move(composer_); }
  const TextLines& comment() const { return comment_; }
  const TextLines& lyrics() const { return lyrics_; }
  bool hasComment() const { return hasComment_; }
  bool hasLyrics() const { return hasLyrics_; }
  // The texts (an rvalue's accessors above) and buffers, given up by a tag
  // block that is read no further: its owner keeps them without a copy.
  TextLines takeComment() && { return std::move(comment_); }
  TextLines takeLyrics() && { return std::move(lyrics_); }

 protected:
  // Appends a text unit by unit (a line feed starts a new line), then the
  // terminator if one is given, and marks the buffer as found.
  void appendComment(std::u16string_view text, bool terminate);
  void appendLyrics(std::u16string_view text, bool terminate);
  // Year and genre are normalised once, when the tag has been read, so that
  // every query gives the same text.
  void normalise();

  bool present_ = false;
  bool hasComment_ = false;
  bool hasLyrics_ = false;
  std::u16string title_{kUnknown};
  std::u16string artist_{kUnknown};
  std::u16string album_{kUnknown};
  std::u16string track_{kUnknown};
  std::u16string year_{kUnknown};
  std::u16string genre_{kUnknown};
  std::u16string albumArtist_{kUnknown};
  std::u16string disc_{kUnknown};
  std::u16string composer_{kUnknown};
  TextLines comment_;
  TextLines lyrics_;
};

}  // namespace tunora
