#include "tags/lyrics3_tag.h"

#include <algorithm>
#include <string_view>

#include "tags/id3v1_tag.h"
#include "text/conversions.h"

namespace tunora {
namespace {

constexpr std::string_view kBegin = "LYRICSBEGIN";
constexpr std::string_view kEnd = "LYRICS200";
constexpr std::size_t kSizeDigits = 6;
constexpr std::size_t kFieldSizeDigits = 5;
constexpr std::size_t kFieldIdSize = 3;
// A block of a million bytes or more is taken for damage.
constexpr std::uint64_t kSizeLimit = 1000000;

// ASCII decimal digits; nothing when any byte is no digit, so that a damaged
// size can neither run backwards nor claim a huge block.
std::optional<std::uint64_t> decimalOf(Bytes digits) {
  std::uint64_t value = 0;
  for (const std::uint8_t byte : digits) {
    if (byte < '0' || byte > '9') return std::nullopt;
    value = value * 10 + (byte - '0');
  }
  return value;
}

}  // namespace

std::u16string* Lyrics3Tag::extendedText(Bytes id) {
  if (startsWith(id, "ETT")) return &title_;
  if (startsWith(id, "EAR")) return &artist_;
  if (startsWith(id, "EAL")) return &album_;
  return nullptr;
}

void Lyrics3Tag::parse(Bytes block) {
  present_ = false;
  if (block.size() < 10) return;
  hasLyrics_ = false;
  ByteReader reader{block};
  reader.skip(kBegin.size());
  while (const auto fieldHeader = reader.peek(kFieldIdSize + kFieldSizeDigits)) {
    const auto id = fieldHeader->first(kFieldIdSize);
    const auto dataSize = decimalOf(fieldHeader->subspan(kFieldIdSize));
    reader.skip(kFieldIdSize + kFieldSizeDigits);
    const auto data = dataSize ? reader.bytes(*dataSize) : std::nullopt;
    if (!data) break;
    if (startsWith(id, "IND")) {
      present_ = true;
      if (!data->empty() && data->front() == '1') hasLyrics_ = true;
    } else if (startsWith(id, "LYR")) {
      present_ = true;
      hasLyrics_ = true;
      for (const std::uint8_t byte : *data) lyrics_.appendUnit(byte);
    } else if (std::u16string* text = extendedText(id)) {
      present_ = true;
      if (text->empty())
        *text = widenLatin1(
            std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
    }
    if (reader.atEnd() || reader.rest().front() == 0) break;
  }
}

std::optional<Bytes> readLyrics3Block(FileBlocks& blocks, bool hasID3v1) {
  const std::int64_t length = blocks.length();
  static_assert(kLyrics3TrailerSize == kSizeDigits + kEnd.size());
  constexpr auto kTrailerSize = static_cast<std::int64_t>(kLyrics3TrailerSize);
  constexpr auto kID3v1Size = static_cast<std::int64_t>(ID3v1Tag::kSize);
  if (length < kID3v1Size + kTrailerSize) return std::nullopt;
  const std::int64_t trailerEnd = hasID3v1 ? length - kID3v1Size : length;
  const auto trailer = blocks.read(trailerEnd - kTrailerSize, kTrailerSize);
  if (!trailer || !startsWith(trailer->subspan(kSizeDigits), kEnd)) return std::nullopt;
  const auto size = decimalOf(trailer->first(kSizeDigits));
  if (!size || *size == 0 || *size >= kSizeLimit ||
      static_cast<std::int64_t>(*size) + kID3v1Size >= length)
    return std::nullopt;
  const auto block =
      blocks.read(trailerEnd - kTrailerSize - static_cast<std::int64_t>(*size), *size);
  if (!block || !startsWith(*block, kBegin)) return std::nullopt;
  return block;
}

}  // namespace tunora
