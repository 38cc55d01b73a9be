#include "tags/id3v2_tag.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "tags/genre_table.h"
#include "text/conversions.h"
#include "text/helpers.h"
#include "trackinfo/cover_size.h"

namespace tunora {
namespace {

constexpr std::uint8_t kExtendedHeaderFlag = 0x40;
constexpr std::size_t kFrameHeaderSize = 10;
// The owners read this many bytes after the tag, so that a tag that fills
// its block exactly is told from one cut short.
constexpr std::uint64_t kBytesAfterTag = 20;

enum Encoding : std::uint8_t { kLatin1 = 0, kUtf16 = 1, kUtf16BE = 2, kUtf8 = 3 };

bool isUtf16(std::uint8_t encoding) {
  return encoding == kUtf16 || encoding == kUtf16BE;
}

std::string_view charsOf(Bytes bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Seven bits per byte, most significant first. Version 4 frame sizes are
// weighted so without masking, as the tag writers of that version meant.
std::uint64_t weightedSize(Bytes bytes) {
  std::uint64_t value = 0;
  for (const std::uint8_t byte : bytes) value = value * 128 + byte;
  return value;
}

// A text value by its encoding byte; nothing when the converter refuses it.
// Unknown encodings read as ISO-8859-1.
std::optional<std::u16string> decodeText(std::uint8_t encoding, Bytes text) {
  std::u16string out;
  if (isUtf16(encoding)) {
    // The converter stops at the first NUL unit or at the end, and refuses an
    // odd byte count.
    if (!convertUTF16ToWChar(text, out)) return std::nullopt;
    return out;
  }
  if (encoding == kUtf8) {
    if (!convertUTF8ToUTF16(charsOf(text), out)) return std::nullopt;
    return out;
  }
  return convertCharToWChar(charsOf(text));
}

// Where the bytes after a description start: past one NUL byte for the 8-bit
// encodings, past two NUL bytes at an even distance for UTF-16; the end of the
// body when the description is not terminated.
std::size_t afterDescription(Bytes body, std::size_t start, std::uint8_t encoding) {
  if (start >= body.size()) return body.size();
  const std::size_t step = isUtf16(encoding) ? 2 : 1;
  for (std::size_t i = start; i + step <= body.size(); i += step) {
    if (body[i] == 0 && (step == 1 || body[i + 1] == 0)) return i + step;
  }
  return body.size();
}

bool isFrameIdByte(std::uint8_t byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9');
}

// Frames whose bytes cannot be read as stored.
bool isSkipped(int version, std::uint8_t formatFlags) {
  return version == 3 ? (formatFlags & 0xC0) != 0 : (formatFlags & 0x0D) != 0;
}

// "RX" and "CR" are the ID3v2 words for remix and cover; a number (every
// character but the last a digit) names a genre of the genre table.
std::u16string genreOf(const std::u16string& text) {
  const auto lower = toLowerAscii(text);
  if (lower == u"rx") return u"Remix";
  if (lower == u"cr") return u"Cover";
  if (text.empty()) return text;
  const auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  if (!std::all_of(text.begin(), text.end() - 1, digit)) return text;
  // Read as a C library would (leading digits only); only the low 8 bits
  // count, and unsigned arithmetic keeps them through any overflow.
  std::uint32_t number = 0;
  for (const char16_t c : text) {
    if (!digit(c)) break;
    number = number * 10 + (c - u'0');
  }
  return std::u16string(genreName(number & 0xFF));
}

}  // namespace

std::optional<std::uint32_t> id3v2TagEnd(Bytes header) {
  if (header.size() < ID3v2Tag::kHeaderSize || !startsWith(header, "ID3")) return std::nullopt;
  const std::uint8_t version = header[3];
  const std::uint8_t revision = header[4];
  const std::uint8_t flags = header[5];
  if ((version != 3 && version != 4) || revision != 0 || (flags > 0 && flags < 16))
    return std::nullopt;
  const Bytes size = header.subspan(6, 4);
  if (std::any_of(size.begin(), size.end(), [](std::uint8_t b) { return b >= 0x80; }))
    return std::nullopt;
  return static_cast<std::uint32_t>(weightedSize(size) + ID3v2Tag::kHeaderSize);
}

void ID3v2Tag::keepPicture(Bytes bytes, CoverBytes pictureBytes) {
  if (pictureBytes == CoverBytes::Kept) picture_.assign(bytes.begin(), bytes.end());
  pictureSize_ = bytes.size();
  hasPicture_ = true;
  present_ = true;
}

void ID3v2Tag::parse(Bytes block, CoverBytes pictureBytes) {
  hasComment_ = false;
  hasLyrics_ = false;
  hasPicture_ = false;
  present_ = false;
  const auto tagEnd = id3v2TagEnd(block);
  if (!tagEnd || *tagEnd >= block.size()) return;
  const int version = block[3];

  ByteReader reader{block.first(*tagEnd)};
  reader.skip(kHeaderSize);
  if (block[5] & kExtendedHeaderFlag) {
    const auto sizeBytes = reader.peek(4);
    if (!sizeBytes) return;
    const std::uint64_t extendedSize =
        version == 4 ? weightedSize(*sizeBytes) : ByteReader(*sizeBytes).u32be().value() + 4u;
    if (!reader.skip(extendedSize)) return;
  }

  std::optional<Bytes> otherPicture;
  while (const auto header = reader.peek(kFrameHeaderSize)) {
    const Bytes id = header->first(4);
    if (std::none_of(id.begin(), id.end(), isFrameIdByte)) break;
    const std::uint64_t bodySize = version == 4 ? weightedSize(header->subspan(4, 4))
                                                : ByteReader(header->subspan(4, 4)).u32be().value();
    const std::uint8_t formatFlags = (*header)[9];
    reader.skip(kFrameHeaderSize);
    const auto body = reader.bytes(bodySize);
    if (!body) break;

    if (!isSkipped(version, formatFlags)) {
      // All four bytes, NUL bytes included, so that the name never comes out shorter.
      const auto name = toLowerAscii(std::u16string(id.begin(), id.end()));
      if (name[0] == u't' && name != u"txxx") {
        takeTextFrame(name, version, *body);
      } else if (name == u"comm" || name == u"uslt") {
        takeCommentOrLyrics(name == u"comm", *body);
      } else if (name == u"apic") {
        if (const auto picture = jpegPictureOf(*body)) {
          if (picture->frontCover) {
            keepPicture(picture->bytes, pictureBytes);
          } else {
            otherPicture = picture->bytes;
          }
        }
      }
    }
    if (reader.atEnd() || reader.rest().front() == 0) break;
  }

  // Without a front cover the last other JPEG picture serves.
  if (!hasPicture_ && otherPicture && !otherPicture->empty())
    keepPicture(*otherPicture, pictureBytes);
  normalise();
}

void ID3v2Tag::takeTextFrame(std::u16string_view id, int version, Bytes body) {
  if (body.size() < 2 || body[1] == 0) return;
  const auto text = decodeText(body[0], body.subspan(1));
  if (!text) return;
  std::u16string* target = nullptr;
  if (id == u"talb") {
    target = &album_;
  } else if (id == u"tit2") {
    target = &title_;
  } else if (id == u"tpe1") {
    target = &artist_;
  } else if (id == u"trck") {
    target = &track_;
  } else if (id == u"tory" || (id == u"tyer" && version == 3) || (id == u"tdrc" && version == 4)) {
    // The year frame of the other version is ignored on purpose.
    target = &year_;
  } else if (id == u"tcon") {
    genre_ = genreOf(*text);
    present_ = true;
    return;
  } else {
    return;
  }
  *target = *text;
  present_ = true;
}

void ID3v2Tag::takeCommentOrLyrics(bool isComment, Bytes body) {
  if (body.empty()) return;
  // Encoding byte, 3-byte language, description: the text follows.
  const std::size_t textStart = afterDescription(body, 4, body[0]);
  if (textStart >= body.size()) return;
  present_ = true;
  const auto text = decodeText(body[0], body.subspan(textStart));
  if (!text) return;
  // Each text ends with a NUL: read as text, a line shows only its first one.
  if (isComment)
    appendComment(*text, true);
  else
    appendLyrics(*text, true);
}

std::optional<ID3v2Tag::Picture> ID3v2Tag::jpegPictureOf(Bytes body) {
  if (body.empty()) return std::nullopt;
  const auto mimeEnd = std::find(body.begin() + 1, body.end(), 0);
  // The MIME terminator and the picture type byte must be there.
  if (body.end() - mimeEnd < 2) return std::nullopt;
  const auto mime = toLowerAscii(charsOf(Bytes(body.begin() + 1, mimeEnd)));
  static constexpr std::array<std::string_view, 4> kJpegTypes{"image/jpeg", "image/jpg",
                                                              "image\\jpeg", "image\\jpg"};
  if (std::find(kJpegTypes.begin(), kJpegTypes.end(), mime) == kJpegTypes.end())
    return std::nullopt;
  const auto typeOffset = static_cast<std::size_t>(mimeEnd - body.begin()) + 1;
  const std::size_t start = afterDescription(body, typeOffset + 1, body[0]);
  Picture picture{body.subspan(start), body[typeOffset] == 3};
  // An empty front cover is no cover: it would hide a usable other picture.
  if (picture.frontCover && picture.bytes.empty()) return std::nullopt;
  return picture;
}

int ID3v2Tag::savePicture(const std::u16string& path) const {
  if (!hasPicture_ || !isLargeEnoughForCover(picture_.size())) return -1;
  return writeWholeFile(path, picture_) ? 1 : -1;
}

ID3v2Location readID3v2Block(FileBlocks& blocks) {
  ID3v2Location location;
  const std::int64_t length = blocks.length();
  if (length <= static_cast<std::int64_t>(ID3v2Tag::kHeaderSize)) return location;
  const auto header = blocks.read(0, ID3v2Tag::kHeaderSize);
  if (!header) return location;
  const auto tagEnd = id3v2TagEnd(*header);
  if (!tagEnd) return location;
  // The audio starts after the tag even when the tag itself cannot be read.
  location.tagEnd = *tagEnd;
  if (location.tagEnd < length)
    location.block = blocks.read(0, std::uint64_t{*tagEnd} + kBytesAfterTag);
  return location;
}

}  // namespace tunora
