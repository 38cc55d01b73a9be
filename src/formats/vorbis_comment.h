#pragma once
// The Vorbis comment block, shared by Ogg Vorbis and FLAC: all integers 32-bit
// little-endian; vendor length and vendor string, entry count, then each entry
// as a length and "KEY=value" text in UTF-8.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/flac_metadata.h"
#include "io/file_blocks.h"
#include "tags/tag_texts.h"
#include "text/byte_reader.h"

namespace tunora {

// Entries: the key (bytes before the first "=", a-z upper-cased) names the
// value; an entry without "=" is a comment made of its whole text, upper-cased
// alike. Keys that contain COMMENT add to the comment, LYRICS and
// UNSYNCEDLYRICS to the lyrics; ARTIST, TITLE, ALBUM, TRACKNUMBER, DATE,
// GENRE, ALBUMARTIST (also written "ALBUM ARTIST"), DISCNUMBER and COMPOSER
// set their value, a repeated key giving all its
// values joined in stored order; an empty value is "Unknown". Entries that are not UTF-8 are
// dropped one by one. METADATA_BLOCK_PICTURE entries carry a FLAC picture block in Base64: the
// front cover is kept before any other picture.
class VorbisComment : public TagTexts {
 public:
  // Pictures are decoded, or only measured when their size alone is asked
  // for: the Base64 text is then checked whole but decoded only as far as
  // the fields in front of the data.
  explicit VorbisComment(Bytes block, CoverBytes pictures = CoverBytes::Kept);

  // The entry count could be read (FLAC reports a tag from then on).
  bool entryCountRead() const { return entryCountRead_; }
  std::uint32_t entryCount() const { return entryCount_; }
  // Bytes from the block start that the walk needed and did not get, or 0
  // when it ended inside the bytes it was given.
  std::uint64_t bytesWanted() const { return bytesWanted_; }
  const std::optional<FLACPicture>& picture() const { return picture_; }

 private:
  void takeEntry(std::string_view entry);
  void takePicture(std::string_view base64);
  // The field a key sets, by its place in kFields; nothing for the keys the
  // reader ignores.
  static std::optional<std::size_t> fieldFor(std::string_view key);

  struct Field {
    std::string_view key;
    std::u16string TagTexts::*member;
  };
  static constexpr std::array<Field, 9> kFields{{
      {"ARTIST", &VorbisComment::artist_},
      {"TITLE", &VorbisComment::title_},
      {"ALBUM", &VorbisComment::album_},
      {"TRACKNUMBER", &VorbisComment::track_},
      {"DATE", &VorbisComment::year_},
      {"GENRE", &VorbisComment::genre_},
      {"ALBUMARTIST", &VorbisComment::albumArtist_},
      {"DISCNUMBER", &VorbisComment::disc_},
      {"COMPOSER", &VorbisComment::composer_},
  }};

  CoverBytes pictures_;
  bool entryCountRead_ = false;
  std::uint32_t entryCount_ = 0;
  std::uint64_t bytesWanted_ = 0;
  std::optional<FLACPicture> picture_;
  // The values of each field while the entries are read.
  std::array<std::vector<std::u16string>, kFields.size()> values_;
};

// The block at `blockStart`: read with `sizeHint` bytes first and more as the
// entry lengths ask, never beyond the end of the file (nor beyond the largest
// tag block a reader takes in). Entries need not end
// where the container says the block does; they are read from the raw bytes.
VorbisComment readVorbisComment(FileBlocks& blocks, std::int64_t blockStart, std::uint64_t sizeHint,
                                CoverBytes pictures = CoverBytes::Kept);

}  // namespace tunora
