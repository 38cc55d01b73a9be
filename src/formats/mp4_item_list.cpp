#include "formats/mp4_item_list.h"

#include <string>
#include <string_view>

#include "tags/genre_table.h"
#include "text/conversions.h"
#include "text/helpers.h"

namespace tunora {
namespace {

// 8 bytes of "data" header, 4 of version and flags, 4 reserved.
constexpr std::uint64_t kDataHeaderSize = 16;

// Strictly well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF), so that 8-bit text that merely looks like UTF-8 in places is not
// mangled by the lenient decoder.
bool isWellFormedUTF8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i++]);
    if (lead < 0x80) continue;
    int extra;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    for (int k = 0; k < extra; ++k, ++i) {
      if (i >= text.size()) return false;
      const auto next = static_cast<std::uint8_t>(text[i]);
      if (next < low || next > high) return false;
      low = 0x80;
      high = 0xBF;
    }
  }
  return true;
}

// Text items are UTF-8 by the format; bytes that are not are taken one by one,
// as older taggers wrote them.
std::u16string itemText(Bytes payload) {
  const std::string_view bytes =
      untilNul(std::string_view(reinterpret_cast<const char*>(payload.data()), payload.size()));
  if (bytes.empty()) return std::u16string(kUnknown);
  std::u16string text;
  if (isWellFormedUTF8(bytes) && convertUTF8ToUTF16(bytes, text)) return text;
  return convertCharToWChar(bytes);
}

// "gnre": the ID3v1 genre number plus one, as a 16-bit big-endian value.
std::u16string genreFromNumber(Bytes payload) {
  if (payload.size() != 2) return std::u16string(kUnknown);
  const int index = static_cast<int>(payload[1]) - 1;
  if (index < 0) return std::u16string(kUnknown);
  return std::u16string(genreName(static_cast<std::uint32_t>(index)));
}

// "trkn": reserved word, track, total, reserved word; "3" or "3/12".
std::u16string trackFromPair(Bytes payload) {
  ByteReader reader(payload);
  if (payload.size() != 8 || !reader.skip(2)) return std::u16string(kUnknown);
  const auto track = reader.u16be();
  const auto total = reader.u16be();
  if (!track || !total || *track == 0) return std::u16string(kUnknown);
  std::u16string text = decimalText(*track);
  if (*total != 0) text += u"/" + decimalText(*total);
  return text;
}

}  // namespace

MP4ItemList::MP4ItemList(Bytes ilst) {
  const auto header = parseAtomHeader(ilst, 0);
  if (!header) return;
  std::uint64_t offset = header->headerSize;
  while (offset < ilst.size()) {
    const auto itemBytes = subspan(ilst, offset, ilst.size() - offset);
    const auto item = itemBytes ? parseAtomHeader(*itemBytes, offset) : std::nullopt;
    if (!item || item->size == 0 || item->size > ilst.size() - offset) break;
    const std::uint64_t payloadStart = item->headerSize + kDataHeaderSize;
    const Bytes payload =
        item->size > payloadStart
            ? itemBytes->subspan(static_cast<std::size_t>(payloadStart),
                                 static_cast<std::size_t>(item->size - payloadStart))
            : Bytes{};
    takeItem(*item, payload);
    offset += item->size;
  }
  normalise();
}

void MP4ItemList::takeItem(const MP4Atom& item, Bytes payload) {
  // "\251" is the byte 0xA9, "©" in the item names.
  if (item.is("\251nam")) {
    title_ = itemText(payload);
  } else if (item.is("\251ART")) {
    artist_ = itemText(payload);
  } else if (item.is("\251alb")) {
    album_ = itemText(payload);
  } else if (item.is("\251day")) {
    year_ = itemText(payload);
  } else if (item.is("\251gen")) {
    genre_ = itemText(payload);
  } else if (item.is("\251cmt")) {
    // Counts even when empty, which reads "Unknown".
    appendComment(itemText(payload), false);
  } else if (item.is("covr")) {
    // Everything after the first data header, a second data atom included.
    if (!payload.empty()) cover_.emplace(payload.begin(), payload.end());
  } else if (item.is("gnre")) {
    // A text genre, wherever it stands, wins over the numbered one.
    if (toLowerAscii(genre_) == u"unknown") genre_ = genreFromNumber(payload);
  } else if (item.is("trkn")) {
    track_ = trackFromPair(payload);
  }
}

}  // namespace tunora
