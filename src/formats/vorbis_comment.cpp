#include "formats/vorbis_comment.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "formats/tag_block_limit.h"
#include "text/ascii_case.h"
#include "text/base64.h"
#include "text/conversions.h"

namespace tunora {

VorbisComment::VorbisComment(Bytes block, CoverBytes pictures) : pictures_(pictures) {
  ByteReader reader(block);
  const auto vendorLength = reader.u32le();
  if (!vendorLength) {
    bytesWanted_ = 4;
    return;
  }
  // An empty vendor string is valid: the entries follow all the same.
  const auto count = reader.skip(*vendorLength) ? reader.u32le() : std::nullopt;
  if (!count) {
    bytesWanted_ = std::uint64_t{8} + *vendorLength;
    return;
  }
  entryCountRead_ = true;
  entryCount_ = *count;
  for (std::uint32_t i = 0; i < *count; ++i) {
    const std::uint64_t entryStart = reader.position();
    const auto length = reader.u32le();
    const auto entry = length ? reader.bytes(*length) : std::nullopt;
    if (!entry) {
      bytesWanted_ = entryStart + 4 + (length ? *length : 0);
      break;
    }
    takeEntry(std::string_view(reinterpret_cast<const char*>(entry->data()), entry->size()));
  }
  // A repeated field gives all its values; one with only empty values reads
  // "Unknown".
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    if (values_[i].empty()) continue;
    auto joined = joinValues(std::move(values_[i]));
    this->*kFields[i].member = joined.empty() ? std::u16string(kUnknown) : std::move(joined);
  }
  values_ = {};
  normalise();
}

std::optional<std::size_t> VorbisComment::fieldFor(std::string_view key) {
  // Some taggers write the album artist's key with a space; both give values
  // of the one field.
  if (key == "ALBUM ARTIST") key = "ALBUMARTIST";
  for (std::size_t i = 0; i < kFields.size(); ++i)
    if (key == kFields[i].key) return i;
  return std::nullopt;
}

namespace {

// The picture's type and size; its text is checked whole, but decoded only
// as far as the fields in front of the data.
std::optional<FLACPicture> measurePicture(std::string_view base64) {
  const auto size = base64DecodedSize(base64);
  if (!size) return std::nullopt;
  auto layout = locateFLACPicture(decodeBase64Front(base64, kFLACPictureFieldsFront), *size);
  if (!layout && *size > kFLACPictureFieldsFront)
    layout = locateFLACPicture(decodeBase64Front(base64, *size), *size);
  if (!layout) return std::nullopt;
  return FLACPicture{layout->type, {}, layout->dataSize};
}

}  // namespace

void VorbisComment::takePicture(std::string_view base64) {
  if (picture_ && picture_->type == kFrontCoverPicture) return;
  std::optional<FLACPicture> picture;
  if (pictures_ == CoverBytes::Kept) {
    const auto block = decodeBase64(base64);
    picture = block ? parseFLACPicture(*block) : std::nullopt;
  } else {
    picture = measurePicture(base64);
  }
  if (picture && (!picture_ || picture->type == kFrontCoverPicture)) picture_ = std::move(picture);
}

void VorbisComment::takeEntry(std::string_view entry) {
  std::string key;
  std::string_view value;
  const auto equals = entry.find('=');
  if (equals == std::string_view::npos) {
    // No key: the whole text is a comment, kept as written (only keys are
    // upper-cased for the comparison).
    key = "COMMENT";
    value = entry;
  } else {
    key = toUpperAscii(entry.substr(0, equals));
    value = entry.substr(equals + 1);
  }
  if (key == "METADATA_BLOCK_PICTURE") {
    takePicture(value);
    return;
  }
  // Keys such as COMMENTS or MYCOMMENT count as comments too.
  const bool isComment = key.find("COMMENT") != std::string::npos;
  const bool isLyrics = key == "LYRICS" || key == "UNSYNCEDLYRICS";
  const auto field = isComment || isLyrics ? std::nullopt : fieldFor(key);
  // Other keys are not decoded at all: a picture in the comments can be
  // hundreds of kilobytes.
  if (!isComment && !isLyrics && !field) return;
  std::u16string text;
  if (!convertUTF8ToUTF16(value, text)) return;
  if (isComment) {
    if (!text.empty()) appendComment(text, false);
    return;
  }
  if (isLyrics) {
    if (!text.empty()) appendLyrics(text, false);
    return;
  }
  values_[*field].push_back(std::move(text));
}

VorbisComment readVorbisComment(FileBlocks& blocks, std::int64_t blockStart, std::uint64_t sizeHint,
                                CoverBytes pictures) {
  if (blockStart < 0 || blockStart >= blocks.length()) return VorbisComment(Bytes{});
  const auto available =
      std::min(static_cast<std::uint64_t>(blocks.length() - blockStart), kMaxTagBlockSize);
  std::uint64_t window = std::min(available, std::max<std::uint64_t>(sizeHint, 64));
  for (;;) {
    const auto bytes = blocks.read(blockStart, window);
    if (!bytes) return VorbisComment(Bytes{});
    VorbisComment result(*bytes, pictures);
    if (result.bytesWanted() == 0 || window == available) return result;
    // Grows at least twofold, so that a chain of long entries costs few reads.
    window = std::min(available, std::max(result.bytesWanted(), window * 2));
  }
}

}  // namespace tunora
