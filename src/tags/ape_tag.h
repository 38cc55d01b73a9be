#pragma once
// An APE tag version 2 with both header and footer, as found at the end of
// MP3, AAC and Musepack files. Every item is read as UTF-8 text but the
// binary "Cover Art (Front)" item: a file name, NUL, then the picture.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "io/file.h"
#include "io/file_blocks.h"
#include "tags/tag_picture.h"
#include "tags/tag_texts.h"
#include "text/byte_reader.h"

namespace tunora {

class APEv2Tag : public TagTexts {
 public:
  static constexpr std::size_t kHeaderSize = 32;

  // Decodes a block laid out as header, items, footer (tag size + 32 bytes).
  // A block without both preambles leaves the tag absent.
  void parse(Bytes block, CoverBytes pictureBytes = CoverBytes::Kept);

  bool hasPicture() const { return picture_.has(); }
  // Empty when only the size was asked for.
  const std::vector<std::uint8_t>& picture() const { return picture_.bytes(); }
  std::size_t pictureSize() const { return picture_.size(); }
  const TagPicture& tagPicture() const { return picture_; }

 private:
  void takeItem(std::u16string_view key, const std::u16string& value);

  TagPicture picture_;
};

// Where a file's tag may end: directly before an ID3v1 tag (128 bytes before
// the end) or at the very end. MP3 and AAC files try them in this order,
// Musepack files the other way round.
enum class APEv2Search { BeforeID3v1First, AtEndFirst };

// The whole tag (header through footer) found by its footer at one of the two
// places, or nothing.
std::optional<Bytes> readAPEv2Block(FileBlocks& blocks, APEv2Search order);

}  // namespace tunora
