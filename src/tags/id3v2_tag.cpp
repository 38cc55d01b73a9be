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
  return widenLatin1(charsOf(text));
}

// Where the bytes after a description start: past one NUL byte for the 8-bit
// encodings, past two NUL bytes at an even distance for UTF-16; nothing when
// the description is not terminated within `body`.
std::optional<std::size_t> afterDescription(Bytes body, std::size_t start, std::uint8_t encoding) {
  const std::size_t step = isUtf16(encoding) ? 2 : 1;
  for (std::size_t i = start; i < body.size() && step <= body.size() - i; i += step) {
    if (body[i] == 0 && (step == 1 || body[i + 1] == 0)) return i + step;
  }
  return std::nullopt;
}

// What the first bytes of an APIC body tell of its picture. A JPEG picture's
// bytes run from `start` to the end of the body; Unfinished asks for more of
// the body, as `head` ends before the frame's header fields do.
struct PictureFrame {
  enum class Kind { NotJpeg, Jpeg, Unfinished };
  Kind kind = Kind::NotJpeg;
  std::uint64_t start = 0;
  std::uint64_t size = 0;
  bool frontCover = false;
};

PictureFrame pictureFrameOf(Bytes head, std::uint64_t bodySize) {
  const bool whole = head.size() == bodySize;
  const PictureFrame unfinished{PictureFrame::Kind::Unfinished};
  if (head.empty()) return whole ? PictureFrame{} : unfinished;
  const auto mimeEnd = std::find(head.begin() + 1, head.end(), 0);
  if (mimeEnd == head.end()) return whole ? PictureFrame{} : unfinished;
  const auto mimeEndOffset = static_cast<std::size_t>(mimeEnd - head.begin());
  // The MIME terminator and the picture type byte must be there.
  if (bodySize - mimeEndOffset < 2) return {};
  const auto mime = toLowerAscii(charsOf(Bytes(head.begin() + 1, mimeEnd)));
  static constexpr std::array<std::string_view, 4> kJpegTypes{"image/jpeg", "image/jpg",
                                                              "image\\jpeg", "image\\jpg"};
  if (std::find(kJpegTypes.begin(), kJpegTypes.end(), mime) == kJpegTypes.end()) return {};
  const std::size_t typeOffset = mimeEndOffset + 1;
  if (typeOffset >= head.size()) return unfinished;
  const auto descriptionEnd = afterDescription(head, typeOffset + 1, head[0]);
  if (!descriptionEnd && !whole) return unfinished;
  // Without a terminator the picture is empty.
  const std::uint64_t start = descriptionEnd.value_or(bodySize);
  const bool frontCover = head[typeOffset] == 3;
  // An empty front cover is no cover: it would hide a usable other picture.
  if (frontCover && start == bodySize) return {};
  return {PictureFrame::Kind::Jpeg, start, bodySize - start, frontCover};
}

// The picture of the APIC body at `bodyStart`, read from as few of its first
// bytes as hold its header fields; nothing when those cannot be read.
std::optional<PictureFrame> readPictureFrame(const ID3v2Tag::TagBytes& bytesAt,
                                             std::uint64_t bodyStart, std::uint64_t bodySize) {
  for (std::uint64_t count = std::min(bodySize, ID3v2Tag::kPictureHeadRead);;
       count = std::min(bodySize, count * 2)) {
    const auto head = bytesAt(bodyStart, count);
    if (!head) return std::nullopt;
    auto frame = pictureFrameOf(*head, bodySize);
    if (frame.kind == PictureFrame::Kind::Unfinished) continue;
    frame.start += bodyStart;
    return frame;
  }
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

void ID3v2Tag::forget() {
  hasComment_ = false;
  hasLyrics_ = false;
  hasPicture_ = false;
  present_ = false;
  picture_.clear();
  pictureSize_ = 0;
}

void ID3v2Tag::parse(Bytes block, CoverBytes pictureBytes) {
  forget();
  const auto tagEnd = id3v2TagEnd(block);
  if (!tagEnd || *tagEnd >= block.size()) return;
  const Bytes tag = block.first(*tagEnd);
  walkFrames(
      [tag](std::uint64_t offset, std::uint64_t count) { return subspan(tag, offset, count); },
      *tagEnd, pictureBytes);
}

bool ID3v2Tag::walkFrames(const TagBytes& bytesAt, std::uint64_t tagEnd, CoverBytes pictureBytes) {
  const auto header = bytesAt(0, kHeaderSize);
  if (!header) return false;
  const int version = (*header)[3];
  std::uint64_t position = kHeaderSize;
  if ((*header)[5] & kExtendedHeaderFlag) {
    if (tagEnd - position < 4) return true;
    const auto sizeBytes = bytesAt(position, 4);
    if (!sizeBytes) return false;
    const std::uint64_t extendedSize =
        version == 4 ? weightedSize(*sizeBytes) : ByteReader(*sizeBytes).u32be().value() + 4u;
    if (extendedSize > tagEnd - position) return true;
    position += extendedSize;
  }

  std::optional<PictureFrame> frontCover;
  std::optional<PictureFrame> otherPicture;
  while (tagEnd - position >= kFrameHeaderSize) {
    const auto frameHeader = bytesAt(position, kFrameHeaderSize);
    if (!frameHeader) return false;
    const Bytes id = frameHeader->first(4);
    if (std::none_of(id.begin(), id.end(), isFrameIdByte)) break;
    // All four bytes, NUL bytes included, so that the name never comes out shorter.
    const auto name = toLowerAscii(std::u16string(id.begin(), id.end()));
    const Bytes sizeBytes = frameHeader->subspan(4, 4);
    const std::uint64_t bodySize =
        version == 4 ? weightedSize(sizeBytes) : ByteReader(sizeBytes).u32be().value();
    const std::uint8_t formatFlags = (*frameHeader)[9];
    const std::uint64_t bodyStart = position + kFrameHeaderSize;
    if (bodySize > tagEnd - bodyStart) break;
    position = bodyStart + bodySize;

    // Only the bodies of the frames taken are read; of a picture, only as much
    // as holds the fields in front of its bytes.
    if (!isSkipped(version, formatFlags)) {
      const bool isText = name[0] == u't' && name != u"txxx";
      if (isText || name == u"comm" || name == u"uslt") {
        const auto body = bytesAt(bodyStart, bodySize);
        if (!body) return false;
        if (isText)
          takeTextFrame(name, version, *body);
        else
          takeCommentOrLyrics(name == u"comm", *body);
      } else if (name == u"apic") {
        const auto picture = readPictureFrame(bytesAt, bodyStart, bodySize);
        if (!picture) return false;
        if (picture->kind == PictureFrame::Kind::Jpeg)
          (picture->frontCover ? frontCover : otherPicture) = picture;
      }
    }
    // A NUL byte where the next frame would start is padding.
    if (position == tagEnd) break;
    const auto next = bytesAt(position, 1);
    if (!next) return false;
    if ((*next)[0] == 0) break;
  }

  // Without a front cover the last other JPEG picture serves.
  const auto& chosen = frontCover ? frontCover : otherPicture;
  if (chosen && chosen->size > 0) {
    if (pictureBytes == CoverBytes::Kept) {
      const auto bytes = bytesAt(chosen->start, chosen->size);
      if (!bytes) return false;
      picture_.assign(bytes->begin(), bytes->end());
    }
    pictureSize_ = static_cast<std::size_t>(chosen->size);
    hasPicture_ = true;
    present_ = true;
  }
  normalise();
  return true;
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
  const auto textStart = afterDescription(body, 4, body[0]);
  if (!textStart || *textStart >= body.size()) return;
  present_ = true;
  const auto text = decodeText(body[0], body.subspan(*textStart));
  if (!text) return;
  // Each text ends with a NUL: read as text, a line shows only its first one.
  if (isComment)
    appendComment(*text, true);
  else
    appendLyrics(*text, true);
}

namespace {

// The size of the tag at the start of the file, when it starts with one.
std::optional<std::uint32_t> leadingTagEnd(FileBlocks& blocks) {
  if (blocks.length() <= static_cast<std::int64_t>(ID3v2Tag::kHeaderSize)) return std::nullopt;
  const auto header = blocks.read(0, ID3v2Tag::kHeaderSize);
  if (!header) return std::nullopt;
  return id3v2TagEnd(*header);
}

}  // namespace

ID3v2Location readID3v2Block(FileBlocks& blocks) {
  ID3v2Location location;
  const auto tagEnd = leadingTagEnd(blocks);
  if (!tagEnd) return location;
  // The audio starts after the tag even when the tag itself cannot be read.
  location.tagEnd = *tagEnd;
  if (location.tagEnd < blocks.length())
    location.block = blocks.read(0, std::uint64_t{*tagEnd} + kBytesAfterTag);
  return location;
}

std::int64_t ID3v2Tag::read(FileBlocks& blocks, CoverBytes pictureBytes) {
  if (pictureBytes == CoverBytes::Kept) {
    const auto location = readID3v2Block(blocks);
    if (location.block) parse(*location.block, pictureBytes);
    return location.tagEnd;
  }
  const auto tagEnd = leadingTagEnd(blocks);
  if (!tagEnd) return 0;
  // Read as the block would be: only when the file holds the bytes after the tag.
  if (std::int64_t{*tagEnd} + static_cast<std::int64_t>(kBytesAfterTag) <= blocks.length()) {
    forget();
    const auto fromFile = [&blocks](std::uint64_t offset, std::uint64_t count) {
      return blocks.read(static_cast<std::int64_t>(offset), count);
    };
    // A tag that cannot be read to its end counts as none, as a block would.
    if (!walkFrames(fromFile, *tagEnd, pictureBytes)) forget();
  }
  return *tagEnd;
}

}  // namespace tunora
