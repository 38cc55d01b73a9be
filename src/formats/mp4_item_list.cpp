#include "formats/mp4_item_list.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tags/genre_table.h"
#include "text/ascii_case.h"
#include "text/conversions.h"
#include "text/number_text.h"
#include "text/utf8_encoding.h"

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
    i += asciiRun(text, i);
    if (i == text.size()) break;
    const auto lead = static_cast<std::uint8_t>(text[i++]);
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
std::u16string valueText(Bytes payload) {
  const std::string_view bytes =
      untilNul(std::string_view(reinterpret_cast<const char*>(payload.data()), payload.size()));
  std::u16string text;
  if (isWellFormedUTF8(bytes) && convertUTF8ToUTF16(bytes, text)) return text;
  return widenLatin1(bytes);
}

// iTunes ends the lines of lyrics with a carriage return alone; a line feed,
// with or without one before it, ends them elsewhere.
std::u16string withLineFeeds(std::u16string text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    text[kept++] = text[i] == u'\r' ? u'\n' : text[i];
  }
  text.resize(kept);
  return text;
}

// The payloads of an item's data atoms, one after another in the item's body
// (each a size, "data", version, flags and a reserved word, then the value).
// The first atom is taken whatever its type; one whose size does not fit
// runs to the item's end, as the writers of such sizes meant.
std::vector<Bytes> dataPayloads(Bytes body) {
  std::vector<Bytes> payloads;
  ByteReader reader(body);
  while (reader.remaining() >= kDataHeaderSize) {
    const std::uint32_t atomSize = reader.u32be().value();
    if (!payloads.empty() && !startsWith(reader.rest(), "data")) break;
    reader.skip(kDataHeaderSize - 4);
    const std::uint64_t valueSize = atomSize >= kDataHeaderSize ? atomSize - kDataHeaderSize : 0;
    const auto value = atomSize >= kDataHeaderSize ? reader.bytes(valueSize) : std::nullopt;
    if (!value) {
      payloads.push_back(reader.rest());
      break;
    }
    payloads.push_back(*value);
  }
  return payloads;
}

// All values of a text item, joined; "Unknown" when none has a character.
std::u16string itemText(const std::vector<Bytes>& payloads) {
  // The usual item holds one value: taken as it is, with nothing to join.
  if (payloads.size() == 1) {
    std::u16string text = valueText(payloads.front());
    return text.empty() ? std::u16string(kUnknown) : text;
  }
  std::vector<std::u16string> values;
  for (const Bytes payload : payloads) values.push_back(valueText(payload));
  auto joined = joinValues(values);
  return joined.empty() ? std::u16string(kUnknown) : joined;
}

// "gnre": the ID3v1 genre number plus one, as a 16-bit big-endian value.
std::u16string genreFromNumber(Bytes payload) {
  if (payload.size() != 2) return std::u16string(kUnknown);
  const int index = static_cast<int>(payload[1]) - 1;
  if (index < 0) return std::u16string(kUnknown);
  return std::u16string(genreName(static_cast<std::uint32_t>(index)));
}

// "trkn": reserved word, track, total, reserved word; "3" or "3/12". "disk"
// is laid out alike, most writers leaving out the last reserved word.
std::u16string numberFromPair(Bytes payload, bool shortForm) {
  ByteReader reader(payload);
  const bool sized = payload.size() == 8 || (shortForm && payload.size() == 6);
  if (!sized || !reader.skip(2)) return std::u16string(kUnknown);
  const auto track = reader.u16be();
  const auto total = reader.u16be();
  if (!track || !total || *track == 0) return std::u16string(kUnknown);
  std::u16string text = decimalText(*track);
  if (*total != 0) text += u"/" + decimalText(*total);
  return text;
}

}  // namespace

std::optional<MP4ItemList::ItemKind> MP4ItemList::kindOf(const MP4Atom& item) {
  // "\251" is the byte 0xA9, "©" in the item names.
  static constexpr std::array<std::pair<std::string_view, ItemKind>, 13> kKinds{{
      {"\251nam", ItemKind::Title},
      {"\251ART", ItemKind::Artist},
      {"\251alb", ItemKind::Album},
      {"\251day", ItemKind::Year},
      {"\251gen", ItemKind::Genre},
      {"\251cmt", ItemKind::Comment},
      {"\251lyr", ItemKind::Lyrics},
      {"covr", ItemKind::Cover},
      {"gnre", ItemKind::GenreNumber},
      {"trkn", ItemKind::Track},
      {"aART", ItemKind::AlbumArtist},
      {"disk", ItemKind::Disc},
      {"\251wrt", ItemKind::Composer},
  }};
  for (const auto& [type, kind] : kKinds)
    if (item.is(type)) return kind;
  return std::nullopt;
}

MP4ItemList::MP4ItemList(Bytes ilst)
    : MP4ItemList(ilst.size(), [ilst](std::uint64_t offset, std::uint64_t count) {
        return subspan(ilst, offset, count);
      }) {}

MP4ItemList::MP4ItemList(std::uint64_t size, const ReadBytes& read) {
  // 16 bytes cover a large size; a short list may hold only 8.
  const auto headerBytes = [&](std::uint64_t offset) {
    return read(offset, std::min<std::uint64_t>(size - offset, 16));
  };
  const auto listHeader = headerBytes(0);
  const auto header = listHeader ? parseAtomHeader(*listHeader, 0) : std::nullopt;
  if (!header) return;
  std::uint64_t offset = header->headerSize;
  while (offset < size) {
    const auto itemHeader = headerBytes(offset);
    const auto item =
        itemHeader ? parseAtomHeader(*itemHeader, static_cast<std::int64_t>(offset)) : std::nullopt;
    if (!item || item->size == 0 || item->size > size - offset) break;
    const std::uint64_t payloadStart = item->headerSize + kDataHeaderSize;
    const std::uint64_t payloadSize = item->size > payloadStart ? item->size - payloadStart : 0;
    const auto kind = kindOf(*item);
    if (kind == ItemKind::Cover) {
      if (payloadSize > 0) cover_ = Span{offset + payloadStart, payloadSize};
    } else if (kind) {
      const auto body = read(offset + item->headerSize, item->size - item->headerSize);
      if (!body) break;
      auto payloads = dataPayloads(*body);
      if (payloads.empty()) payloads.push_back(Bytes{});
      takeItem(*kind, payloads);
    }
    offset += item->size;
  }
  normalise();
}

void MP4ItemList::takeItem(ItemKind kind, const std::vector<Bytes>& payloads) {
  // Numbers are read from the first value alone.
  const Bytes payload = payloads.front();
  switch (kind) {
    case ItemKind::Title:
      title_ = itemText(payloads);
      break;
    case ItemKind::Artist:
      artist_ = itemText(payloads);
      break;
    case ItemKind::Album:
      album_ = itemText(payloads);
      break;
    case ItemKind::Year:
      year_ = itemText(payloads);
      break;
    case ItemKind::Genre:
      genre_ = itemText(payloads);
      break;
    case ItemKind::Comment:
      // Counts even when empty, which reads "Unknown".
      appendComment(itemText(payloads), false);
      break;
    case ItemKind::Lyrics:
      // An empty item is no lyrics.
      if (!payload.empty() && payload[0] != 0)
        appendLyrics(withLineFeeds(itemText(payloads)), false);
      break;
    case ItemKind::GenreNumber:
      // A text genre, wherever it stands, wins over the numbered one.
      if (toLowerAscii(genre_) == u"unknown") genre_ = genreFromNumber(payload);
      break;
    case ItemKind::Track:
      track_ = numberFromPair(payload, false);
      break;
    case ItemKind::AlbumArtist:
      albumArtist_ = itemText(payloads);
      break;
    case ItemKind::Disc:
      disc_ = numberFromPair(payload, true);
      break;
    case ItemKind::Composer:
      composer_ = itemText(payloads);
      break;
    case ItemKind::Cover:
      break;
  }
}

}  // namespace tunora
