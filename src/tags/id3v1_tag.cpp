#include "tags/id3v1_tag.h"

#include <string_view>

#include "tags/genre_table.h"
#include "text/conversions.h"
#include "text/number_text.h"

namespace tunora {
namespace {

// Offsets of the ID3v1 fields (the ID3v1.1 layout reuses the comment's last
// two bytes as a zero marker and the track number).
constexpr std::size_t kTitle = 3;
constexpr std::size_t kArtist = 33;
constexpr std::size_t kAlbum = 63;
constexpr std::size_t kYear = 93;
constexpr std::size_t kComment = 97;
constexpr std::size_t kTrackMarker = 125;
constexpr std::size_t kTrack = 126;
constexpr std::size_t kGenre = 127;
constexpr std::size_t kTextLength = 30;
constexpr std::size_t kYearLength = 4;
constexpr std::size_t kShortCommentLength = 28;

std::u16string fieldText(Bytes block, std::size_t offset, std::size_t length) {
  const auto field = block.subspan(offset, length);
  return widenLatin1(std::string_view(reinterpret_cast<const char*>(field.data()), field.size()));
}

}  // namespace

void ID3v1Tag::parse(Bytes block) {
  if (block.size() != kSize || !startsWith(block, "TAG")) return;
  present_ = true;
  artist_ = fieldText(block, kArtist, kTextLength);
  album_ = fieldText(block, kAlbum, kTextLength);
  title_ = fieldText(block, kTitle, kTextLength);
  year_ = fieldText(block, kYear, kYearLength);

  const bool version11 = block[kTrackMarker] == 0;
  track_ = version11 ? decimalText(block[kTrack]) : std::u16string();
  // The comment keeps its NUL bytes: the text buffer ends each line's text at
  // the first of them.
  if (block[kComment] != 0) {
    for (const std::uint8_t byte :
         block.subspan(kComment, version11 ? kShortCommentLength : kTextLength))
      comment_.appendUnit(byte);
    hasComment_ = true;
  }
  genre_ = block[kGenre];
}

std::u16string_view ID3v1Tag::genreName() const {
  return tunora::genreName(genre_);
}

std::optional<Bytes> readID3v1Block(FileBlocks& blocks) {
  const auto block =
      blocks.read(blocks.length() - static_cast<std::int64_t>(ID3v1Tag::kSize), ID3v1Tag::kSize);
  if (!block || !startsWith(*block, "TAG")) return std::nullopt;
  return block;
}

}  // namespace tunora
