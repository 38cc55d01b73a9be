#pragma once
// An ID3v2.2, ID3v2.3 or ID3v2.4 tag at the start of an audio file: the text
// frames that name the track, one COMM comment, USLT lyrics and one JPEG or
// PNG picture. Compressed and encrypted frames (and version 4 frames with a
// data-length indicator) are skipped, as is a compressed version 2 tag;
// unsynchronisation is not undone, so frame bytes are decoded as stored.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "io/file_blocks.h"
#include "tags/tag_picture.h"
#include "tags/tag_texts.h"
#include "text/byte_reader.h"
#include "trackinfo/track_info.h"

namespace tunora {

class ID3v2Tag : public TagTexts {
 public:
  static constexpr std::size_t kHeaderSize = 10;
  // The first bytes of a picture frame read when only its size is wanted:
  // they hold the encoding, MIME type, picture type and a usual description.
  static constexpr std::uint64_t kPictureHeadRead = 128;
  // The tag's bytes by offset from its start, from a block or from the file;
  // nothing only when they cannot be read.
  using TagBytes = std::function<std::optional<Bytes>(std::uint64_t offset, std::uint64_t count)>;

  // Decodes a block that starts with the tag header and holds the whole tag
  // and at least one byte more.
  void parse(Bytes block, CoverBytes pictureBytes = CoverBytes::Kept);
  // Decodes a tag kept in a chunk of a container (WAV, AIFF): the chunk
  // holds the whole tag and may end where the tag does.
  void parseEmbedded(Bytes chunk, CoverBytes pictureBytes = CoverBytes::Kept);
  // Reads the tag at the start of a file and gives where the audio starts (0
  // without a tag). Kept pictures take the whole tag in one block; for the
  // size only, the tag is read frame by frame and the bytes of its pictures
  // are stepped over.
  std::int64_t read(FileBlocks& blocks, CoverBytes pictureBytes);

  bool hasPicture() const { return picture_.has(); }
  // Empty when only the size was asked for.
  const std::vector<std::uint8_t>& picture() const { return picture_.bytes(); }
  std::size_t pictureSize() const { return picture_.size(); }
  const TagPicture& tagPicture() const { return picture_; }

 private:
  void forget();
  // Takes the values of the frames; false when the bytes could not be read.
  bool walkFrames(const TagBytes& bytesAt, std::uint64_t tagEnd, CoverBytes pictureBytes);
  void takeTextFrame(std::u16string_view id, int version, Bytes body);

  TagPicture picture_;
};

// The size of the whole tag, header included, when the first ten bytes are a
// header this reader accepts (version 2, 3 or 4, revision 0, known flags,
// syncsafe size).
std::optional<std::uint32_t> id3v2TagEnd(Bytes header);

// Where the audio starts after a leading ID3v2 tag (0 without one), and the
// tag with the 20 bytes after it when the file holds them.
struct ID3v2Location {
  std::int64_t tagEnd = 0;
  std::optional<Bytes> block;
};
ID3v2Location readID3v2Block(FileBlocks& blocks);

}  // namespace tunora
