#pragma once
// A Lyrics3 version 2 block, which sits at the end of an MP3 file directly
// before an ID3v1 tag if there is one. The lyrics and the extended title,
// artist and album (ETT, EAR, EAL: 8-bit text, one character a byte) are
// taken; IND only marks the tag as present.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "io/file_blocks.h"
#include "text/byte_reader.h"
#include "text/text_lines.h"

namespace tunora {

class Lyrics3Tag {
 public:
  // Decodes the block from "LYRICSBEGIN" through the end of its last field.
  void parse(Bytes block);

  bool isPresent() const { return present_; }
  bool hasLyrics() const { return hasLyrics_; }
  const TextLines& lyrics() const { return lyrics_; }
  // The buffer, given up by a tag that is read no further.
  TextLines takeLyrics() && { return std::move(lyrics_); }
  // Empty when the block has no such field; the first field of a kind wins.
  const std::u16string& title() const { return title_; }
  const std::u16string& artist() const { return artist_; }
  const std::u16string& album() const { return album_; }

 private:
  // Where the text of an extended field goes; none for other fields.
  std::u16string* extendedText(Bytes id);

  bool present_ = false;
  bool hasLyrics_ = false;
  TextLines lyrics_;
  std::u16string title_;
  std::u16string artist_;
  std::u16string album_;
};

// The six size digits and "LYRICS200" that end the block in the file.
inline constexpr std::size_t kLyrics3TrailerSize = 15;

// The block found by its size and "LYRICS200" at the end of the file, or
// before the ID3v1 tag when the file has one; without its trailer.
std::optional<Bytes> readLyrics3Block(FileBlocks& blocks, bool hasID3v1);

}  // namespace tunora
