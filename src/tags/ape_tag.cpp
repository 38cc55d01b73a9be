#include "tags/ape_tag.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "text/ascii_case.h"
#include "text/conversions.h"

namespace tunora {
namespace {

constexpr std::string_view kPreamble = "APETAGEX";
constexpr std::size_t kTagSizeOffset = 12;
constexpr std::size_t kFlagsOffset = 20;
constexpr std::uint32_t kIsHeaderFlag = 0x20000000;
// Keys longer than this are compared by their first 49 characters only.
constexpr std::size_t kKeyLimit = 49;
constexpr std::u16string_view kFrontCoverKey = u"cover art (front)";

std::optional<std::uint32_t> fieldAt(Bytes header, std::size_t offset) {
  ByteReader reader{header};
  if (!reader.skip(offset)) return std::nullopt;
  return reader.u32le();
}

// A footer has the preamble and lacks the header flag.
bool isFooter(Bytes block) {
  if (!startsWith(block, kPreamble)) return false;
  const auto flags = fieldAt(block, kFlagsOffset);
  return flags && (*flags & kIsHeaderFlag) == 0;
}

}  // namespace

void APEv2Tag::parse(Bytes block, CoverBytes pictureBytes) {
  hasComment_ = false;
  hasLyrics_ = false;
  present_ = false;
  picture_.forget();
  // Header and footer are distinct 32-byte blocks; a shorter block would let
  // one preamble pass for both.
  if (block.size() < 2 * kHeaderSize) return;
  const Bytes footer = block.last(kHeaderSize);
  if (!startsWith(footer, kPreamble) || !startsWith(block, kPreamble)) return;
  ByteReader header{block};
  header.skip(kTagSizeOffset);
  const std::uint64_t tagSize = header.u32le().value_or(0);
  const std::uint64_t itemCount = header.u32le().value_or(0);
  present_ = true;

  // Items lie between header and footer: none may run into the footer.
  const std::uint64_t itemsEnd = std::min<std::uint64_t>(tagSize, block.size() - kHeaderSize);
  ByteReader items{
      itemsEnd > kHeaderSize
          ? block.subspan(kHeaderSize, static_cast<std::size_t>(itemsEnd) - kHeaderSize)
          : Bytes{}};
  for (std::uint64_t index = 0; index < itemCount && !items.atEnd(); ++index) {
    const auto valueLength = items.u32le();
    if (!valueLength || !items.skip(4)) break;
    const Bytes rest = items.rest();
    const auto nul = std::find(rest.begin(), rest.end(), 0);
    if (nul == rest.end()) break;
    const auto keyLength = static_cast<std::size_t>(nul - rest.begin());
    std::u16string key;
    for (const std::uint8_t byte : rest.first(std::min(keyLength, kKeyLimit))) key += byte;
    items.skip(keyLength + 1);
    const auto value = items.bytes(*valueLength);
    if (!value) break;
    const auto lowerKey = toLowerAscii(key);
    if (lowerKey == kFrontCoverKey) {
      const auto nameEnd = std::find(value->begin(), value->end(), 0);
      if (nameEnd != value->end() && nameEnd + 1 != value->end())
        picture_.take(Bytes(nameEnd + 1, value->end()), pictureBytes);
      continue;
    }
    // The value is a C text: its first NUL ends it, and an empty one is no value.
    std::u16string text;
    if (value->empty() || value->front() == 0 ||
        !convertUTF8ToUTF16(
            std::string_view(reinterpret_cast<const char*>(value->data()), value->size()), text))
      continue;
    takeItem(lowerKey, text);
  }
  normalise();
}

void APEv2Tag::takeItem(std::u16string_view key, const std::u16string& value) {
  struct Field {
    std::u16string_view key;
    std::u16string APEv2Tag::*member;
  };
  static constexpr std::array kFields{
      Field{u"artist", &APEv2Tag::artist_},
      Field{u"title", &APEv2Tag::title_},
      Field{u"album", &APEv2Tag::album_},
      Field{u"year", &APEv2Tag::year_},
      Field{u"genre", &APEv2Tag::genre_},
      Field{u"track", &APEv2Tag::track_},
      // Taggers spell the album artist's key with or without the space.
      Field{u"album artist", &APEv2Tag::albumArtist_},
      Field{u"albumartist", &APEv2Tag::albumArtist_},
      Field{u"disc", &APEv2Tag::disc_},
      Field{u"composer", &APEv2Tag::composer_},
  };
  for (const auto& field : kFields) {
    if (key == field.key) {
      this->*field.member = value;
      return;
    }
  }
  // Comments and lyrics accumulate without separator, in tag order.
  if (key == u"comment") appendComment(value, false);
  if (key == u"lyrics") appendLyrics(value, false);
}

std::optional<Bytes> readAPEv2Block(FileBlocks& blocks, APEv2Search order) {
  const std::int64_t length = blocks.length();
  const std::int64_t beforeID3v1 = length - 160;
  const std::int64_t atEnd = length - static_cast<std::int64_t>(APEv2Tag::kHeaderSize);
  const std::array places = order == APEv2Search::BeforeID3v1First ? std::array{beforeID3v1, atEnd}
                                                                   : std::array{atEnd, beforeID3v1};
  for (const std::int64_t place : places) {
    const auto footer = blocks.read(place, APEv2Tag::kHeaderSize);
    // A tag of exactly 160 bytes at the very end has its header where a
    // footer before ID3v1 would be: that header is no footer, look on.
    if (!footer || !isFooter(*footer)) continue;
    const std::uint32_t tagSize = fieldAt(*footer, kTagSizeOffset).value_or(0);
    return blocks.read(place - static_cast<std::int64_t>(tagSize),
                       std::uint64_t{tagSize} + APEv2Tag::kHeaderSize);
  }
  return std::nullopt;
}

}  // namespace tunora
