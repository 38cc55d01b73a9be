#pragma once
// The values that every reader of tags fills in, with the queries that give
// them back. Format classes derive from it, fill the members in readFile and
// override only the queries whose rules differ.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/file_blocks.h"
#include "text/byte_reader.h"
#include "text/text_lines.h"
#include "trackinfo/track_info.h"

namespace tunora {

class TaggedTrackInfo : public TrackInfo {
 public:
  bool hasComment() const override { return commentFound_; }
  bool hasCover() const override { return coverSize_ > 0; }
  bool hasLyrics() const override { return lyricsFound_; }
  bool hasTag() const override { return tagFound_; }
  const std::u16string& getTitle() override { return title_; }
  const std::u16string& getYear() override { return year_; }
  const std::u16string& getAlbum() override { return album_; }
  const std::u16string& getArtist() override { return artist_; }
  const std::u16string& getTrackNumber() override { return trackNumber_; }
  const std::u16string& getGenre() override { return genre_; }
  const TextLines* getComment() const override { return commentFound_ ? &comment_ : nullptr; }
  const TextLines* getLyrics() const override { return lyricsFound_ ? &lyrics_ : nullptr; }
  const std::vector<std::uint8_t>* getCoverData() const override {
    return hasCover() && coverBytes() == CoverBytes::Kept ? &cover_ : nullptr;
  }
  std::size_t getCoverSize() const override { return coverSize_; }
  const std::u16string& getPresentTags() override { return presentTags_; }
  const std::u16string& getFileName() const override { return fileName_; }

 protected:
  // Takes the texts of the tag that answers the queries. The genre comes
  // apart, as ID3v1 stores a number where the other tags store a name.
  template <typename Tag>
  void takeTagValues(const Tag& tag, std::u16string_view genre) {
    title_ = tag.title();
    artist_ = tag.artist();
    album_ = tag.album();
    year_ = tag.year();
    trackNumber_ = tag.track();
    genre_ = genre;
  }

  // The picture the reader chose, kept or only measured as the caller asked;
  // an empty one is none.
  void takeCover(Bytes picture);
  // The picture of `size` bytes at `offset` in the file, read only when it
  // is kept: a listing that wants the size alone never reads the picture.
  // False when the file does not hold the bytes.
  bool takeCover(FileBlocks& blocks, std::int64_t offset, std::uint64_t size);
  // A picture the reader measured and did not decode: only when its size
  // alone was asked for.
  void takeCoverSize(std::size_t size) { coverSize_ = size; }

  std::u16string fileName_{kUnknown};
  std::u16string title_{kUnknown};
  std::u16string artist_{kUnknown};
  std::u16string album_{kUnknown};
  std::u16string year_{kUnknown};
  std::u16string genre_{kUnknown};
  std::u16string trackNumber_{kUnknown};
  std::u16string presentTags_{kNone};
  TextLines comment_;
  TextLines lyrics_;
  bool commentFound_ = false;
  bool lyricsFound_ = false;
  bool tagFound_ = false;

 private:
  std::vector<std::uint8_t> cover_;
  std::size_t coverSize_ = 0;
};

}  // namespace tunora
