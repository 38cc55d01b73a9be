#pragma once
// The texts of an ASF (WMA) header: the Content Description object's title,
// author and description, and the named attributes of the Extended Content
// Description, Metadata and Metadata Library objects. Texts are UTF-16LE,
// ended by a NUL or by their length.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tags/tag_texts.h"
#include "text/byte_reader.h"

namespace tunora {

class ASFAttributes : public TagTexts {
 public:
  // Title, author (the artist), copyright, description (the comment) and
  // rating: five lengths, then the texts.
  void readContentDescription(Bytes body);
  // A count, then per attribute its name, type and value, with 16-bit lengths.
  void readExtendedContent(Bytes body);
  // A count, then records with a language and stream number in front and
  // 32-bit value lengths (the Metadata and Metadata Library objects).
  void readMetadata(Bytes body);
  // Joins the values read and normalises year and genre; call once, last.
  void finish();

  // The chosen WM/Picture's image bytes (a view into the body it came
  // from): the front cover before any other picture.
  const std::optional<Bytes>& picture() const { return picture_; }

 private:
  void takeAttribute(std::u16string_view name, std::uint16_t type, Bytes value);
  void takePicture(Bytes value);
  void addValue(std::size_t field, std::u16string value);

  struct Field {
    std::u16string_view name;
    std::u16string TagTexts::*member;
  };
  static constexpr std::array<Field, 11> kFields{{
      {u"Title", &ASFAttributes::title_},
      {u"Author", &ASFAttributes::artist_},
      {u"WM/AlbumTitle", &ASFAttributes::album_},
      {u"WM/Year", &ASFAttributes::year_},
      {u"WM/Genre", &ASFAttributes::genre_},
      {u"WM/TrackNumber", &ASFAttributes::track_},
      {u"WM/AlbumArtist", &ASFAttributes::albumArtist_},
      {u"WM/PartOfSet", &ASFAttributes::disc_},
      {u"WM/Composer", &ASFAttributes::composer_},
      {u"Description", nullptr},
      {u"WM/Lyrics", nullptr},
  }};

  std::array<std::vector<std::u16string>, kFields.size()> values_;
  std::optional<Bytes> picture_;
  bool frontCover_ = false;
};

}  // namespace tunora
