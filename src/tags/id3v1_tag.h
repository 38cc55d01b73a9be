#pragma once
// The fixed 128-byte ID3v1 / ID3v1.1 block that may end an audio file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "io/file.h"
#include "io/file_blocks.h"
#include "text/byte_reader.h"
#include "text/text_lines.h"

namespace tunora {

class ID3v1Tag {
 public:
  static constexpr std::size_t kSize = 128;

  // Decodes a block of exactly 128 bytes that begins with "TAG"; any other
  // block is ignored and the tag keeps its state. Every byte is one character
  // (ISO-8859-1); trailing blanks stay, an embedded NUL ends a text.
  void parse(Bytes block);

  bool isPresent() const { return present_; }
  const std::u16string& title() const& { return title_; }
  std::u16string title() && { return std::move(title_); }
  const std::u16string& artist() const& { return artist_; }
  std::u16string artist() && { return std::move(artist_); }
  const std::u16string& album() const& { return album_; }
  std::u16string album() && { return std::move(album_); }
  const std::u16string& year() const& { return year_; }
  std::u16string year() && { return std::move(year_); }
  // Empty for ID3v1.0, the decimal track byte for ID3v1.1.
  const std::u16string& track() const& { return track_; }
  std::u16string track() && { return std::move(track_); }
  const TextLines& comment() const { return comment_; }
  bool hasComment() const { return hasComment_; }
  // The buffer, given up by a tag that is read no further.
  TextLines takeComment() && { return std::move(comment_); }
  std::uint16_t genre() const { return genre_; }
  std::u16string_view genreName() const;

 private:
  bool present_ = false;
  bool hasComment_ = false;
  std::u16string artist_;
  std::u16string album_;
  std::u16string title_;
  std::u16string year_;
  std::uint16_t genre_ = 0;
  std::u16string track_;
  TextLines comment_;
};

// The last 128 bytes of the file when they begin with "TAG".
std::optional<Bytes> readID3v1Block(FileBlocks& blocks);

}  // namespace tunora
