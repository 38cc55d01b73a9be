#include "tags/id3v2_tag.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "tags/genre_table.h"
#include "text/ascii_case.h"
#include "text/conversions.h"

namespace tunora {
namespace {

constexpr std::uint8_t kExtendedHeaderFlag = 0x40;
// In version 2 the same bit marks a tag compressed as a whole: unreadable.
constexpr std::uint8_t kCompressedTagFlag = 0x40;
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

// The byte order a UTF-16 value's mark gives; Auto without a mark.
Utf16Encoding byteOrderOf(Bytes value) {
  if (value.size() < 2) return Utf16Encoding::Auto;
  if (value[0] == 0xFF && value[1] == 0xFE) return Utf16Encoding::Utf16LE;
  if (value[0] == 0xFE && value[1] == 0xFF) return Utf16Encoding::Utf16BE;
  return Utf16Encoding::Auto;
}

// The values of a version 4 text frame, which separates them with NUL (two
// NUL bytes at an even distance in UTF-16). Writers put a byte order mark
// before the first value only or before each: a value without one reads in
// the first value's order. Values that cannot be converted are left out; an
// odd UTF-16 byte count refuses the whole frame, as for a single value.
std::vector<std::u16string> decodeValues(std::uint8_t encoding, Bytes text) {
  const bool utf16 = isUtf16(encoding);
  if (utf16 && text.size() % 2 != 0) return {};
  const std::size_t step = utf16 ? 2 : 1;
  std::vector<Bytes> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); i += step) {
    if (text[i] != 0 || (utf16 && text[i + 1] != 0)) continue;
    parts.push_back(text.subspan(start, i - start));
    start = i + step;
  }
  parts.push_back(text.subspan(start));
  const auto firstOrder = byteOrderOf(parts.front());
  std::vector<std::u16string> values;
  for (const Bytes part : parts) {
    std::u16string value;
    if (utf16 && firstOrder != Utf16Encoding::Auto && byteOrderOf(part) == Utf16Encoding::Auto) {
      if (convertUTF16ToWChar(part, value, firstOrder)) values.push_back(std::move(value));
    } else if (auto decoded = decodeText(encoding, part)) {
      values.push_back(std::move(*decoded));
    }
  }
  return values;
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

// What the first bytes of a picture body tell of its picture. A JPEG or PNG
// picture's bytes run from `start` to the end of the body; Unfinished asks
// for more of the body, as `head` ends before the frame's header fields do.
struct PictureFrame {
  enum class Kind { Unusable, Usable, Unfinished };
  Kind kind = Kind::Unusable;
  std::uint64_t start = 0;
  std::uint64_t size = 0;
  bool frontCover = false;
};

// APIC names the picture's format by a NUL-terminated MIME type; version 2's
// PIC by three letters. Pages show JPEG and PNG pictures.
bool isShownFormat(std::string_view format, bool threeLetters) {
  static constexpr std::array<std::string_view, 6> kMimeTypes{
      "image/jpeg", "image/jpg", "image\\jpeg", "image\\jpg", "image/png", "image\\png"};
  static constexpr std::array<std::string_view, 2> kLetters{"jpg", "png"};
  const auto lower = toLowerAscii(format);
  return threeLetters ? std::find(kLetters.begin(), kLetters.end(), lower) != kLetters.end()
                      : std::find(kMimeTypes.begin(), kMimeTypes.end(), lower) != kMimeTypes.end();
}

PictureFrame pictureFrameOf(Bytes head, std::uint64_t bodySize, bool threeLetters) {
  const bool whole = head.size() == bodySize;
  const PictureFrame unfinished{PictureFrame::Kind::Unfinished};
  if (head.empty()) return whole ? PictureFrame{} : unfinished;
  std::size_t formatEnd = 4;
  if (threeLetters) {
    if (bodySize < formatEnd + 1) return {};
  } else {
    const auto mimeEnd = std::find(head.begin() + 1, head.end(), 0);
    if (mimeEnd == head.end()) return whole ? PictureFrame{} : unfinished;
    formatEnd = static_cast<std::size_t>(mimeEnd - head.begin());
    // The MIME terminator and the picture type byte must be there.
    if (bodySize - formatEnd < 2) return {};
  }
  if (formatEnd > head.size()) return unfinished;
  if (!isShownFormat(charsOf(head.subspan(1, formatEnd - 1)), threeLetters)) return {};
  const std::size_t typeOffset = threeLetters ? formatEnd : formatEnd + 1;
  if (typeOffset >= head.size()) return unfinished;
  const auto descriptionEnd = afterDescription(head, typeOffset + 1, head[0]);
  if (!descriptionEnd && !whole) return unfinished;
  // Without a terminator the picture is empty.
  const std::uint64_t start = descriptionEnd.value_or(bodySize);
  const bool frontCover = head[typeOffset] == 3;
  // An empty front cover is no cover: it would hide a usable other picture.
  if (frontCover && start == bodySize) return {};
  return {PictureFrame::Kind::Usable, start, bodySize - start, frontCover};
}

// The picture of the APIC or PIC body at `bodyStart`, read from as few of its
// first bytes as hold its header fields; nothing when those cannot be read.
std::optional<PictureFrame> readPictureFrame(const ID3v2Tag::TagBytes& bytesAt,
                                             std::uint64_t bodyStart, std::uint64_t bodySize,
                                             bool threeLetters) {
  for (std::uint64_t count = std::min(bodySize, ID3v2Tag::kPictureHeadRead);;
       count = std::min(bodySize, count * 2)) {
    const auto head = bytesAt(bodyStart, count);
    if (!head) return std::nullopt;
    auto frame = pictureFrameOf(*head, bodySize, threeLetters);
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

// Version 2 names the frames read here by three characters; they are read
// as the version 3 frames of the same meaning.
std::u16string_view version3Name(std::u16string_view id) {
  static constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 13> kNames{{
      {u"tt2", u"tit2"},
      {u"tp1", u"tpe1"},
      {u"tp2", u"tpe2"},
      {u"tpa", u"tpos"},
      {u"tcm", u"tcom"},
      {u"tal", u"talb"},
      {u"tye", u"tyer"},
      {u"tor", u"tory"},
      {u"trk", u"trck"},
      {u"tco", u"tcon"},
      {u"com", u"comm"},
      {u"ult", u"uslt"},
      {u"pic", u"apic"},
  }};
  for (const auto& [old, current] : kNames)
    if (id == old) return current;
  return id;
}

// iTunes keeps its own data in COMM frames described "iTunNORM", "iTunSMPB",
// "iTunPGAP" and the like: never a comment a person wrote.
bool isPlayerData(const std::u16string& description) {
  return description.starts_with(u"iTun");
}

// The text of a COMM or USLT body (encoding byte, 3-byte language,
// description, text) with its description; nothing when no text follows the
// description. The text is nothing when it cannot be decoded.
struct DescribedText {
  std::u16string description;
  std::optional<std::u16string> text;
};

std::optional<DescribedText> describedTextOf(Bytes body) {
  if (body.empty()) return std::nullopt;
  const auto textStart = afterDescription(body, 4, body[0]);
  if (!textStart || *textStart >= body.size()) return std::nullopt;
  const std::size_t terminator = isUtf16(body[0]) ? 2 : 1;
  DescribedText described;
  described.description =
      decodeText(body[0], body.subspan(4, *textStart - terminator - 4)).value_or(u"");
  described.text = decodeText(body[0], body.subspan(*textStart));
  return described;
}

}  // namespace

std::optional<std::uint32_t> id3v2TagEnd(Bytes header) {
  if (header.size() < ID3v2Tag::kHeaderSize || !startsWith(header, "ID3")) return std::nullopt;
  const std::uint8_t version = header[3];
  const std::uint8_t revision = header[4];
  const std::uint8_t flags = header[5];
  if (version < 2 || version > 4 || revision != 0 || (flags > 0 && flags < 16)) return std::nullopt;
  const Bytes size = header.subspan(6, 4);
  if (std::any_of(size.begin(), size.end(), [](std::uint8_t b) { return b >= 0x80; }))
    return std::nullopt;
  return static_cast<std::uint32_t>(weightedSize(size) + ID3v2Tag::kHeaderSize);
}

void ID3v2Tag::forget() {
  hasComment_ = false;
  hasLyrics_ = false;
  present_ = false;
  picture_.forget();
}

void ID3v2Tag::parse(Bytes block, CoverBytes pictureBytes) {
  const auto tagEnd = id3v2TagEnd(block);
  if (tagEnd && *tagEnd < block.size()) {
    parseEmbedded(block, pictureBytes);
  } else {
    forget();
  }
}

void ID3v2Tag::parseEmbedded(Bytes chunk, CoverBytes pictureBytes) {
  forget();
  const auto tagEnd = id3v2TagEnd(chunk);
  if (!tagEnd || *tagEnd > chunk.size()) return;
  const Bytes tag = chunk.first(*tagEnd);
  walkFrames(
      [tag](std::uint64_t offset, std::uint64_t count) { return subspan(tag, offset, count); },
      *tagEnd, pictureBytes);
}

bool ID3v2Tag::walkFrames(const TagBytes& bytesAt, std::uint64_t tagEnd, CoverBytes pictureBytes) {
  const auto header = bytesAt(0, kHeaderSize);
  if (!header) return false;
  const int version = (*header)[3];
  std::uint64_t position = kHeaderSize;
  if (version == 2 && ((*header)[5] & kCompressedTagFlag)) return true;
  if (version > 2 && ((*header)[5] & kExtendedHeaderFlag)) {
    if (tagEnd - position < 4) return true;
    const auto sizeBytes = bytesAt(position, 4);
    if (!sizeBytes) return false;
    const std::uint64_t extendedSize =
        version == 4 ? weightedSize(*sizeBytes) : ByteReader(*sizeBytes).u32be().value() + 4u;
    if (extendedSize > tagEnd - position) return true;
    position += extendedSize;
  }

  // Version 2 frames have a 3-character id, a 3-byte size and no flags.
  const std::size_t idSize = version == 2 ? 3 : 4;
  const std::size_t frameHeaderSize = version == 2 ? 6 : 10;
  std::optional<PictureFrame> frontCover;
  std::optional<PictureFrame> otherPicture;
  std::optional<std::u16string> plainComment;
  std::optional<std::u16string> describedComment;
  while (tagEnd - position >= frameHeaderSize) {
    const auto frameHeader = bytesAt(position, frameHeaderSize);
    if (!frameHeader) return false;
    const Bytes id = frameHeader->first(idSize);
    if (std::none_of(id.begin(), id.end(), isFrameIdByte)) break;
    // All bytes of the id, NUL bytes included, so that the name never comes out shorter.
    const auto ownName = toLowerAscii(std::u16string(id.begin(), id.end()));
    const std::u16string name(version == 2 ? version3Name(ownName) : ownName);
    const Bytes sizeBytes = frameHeader->subspan(idSize, idSize);
    std::uint64_t bodySize = 0;
    if (version == 4) {
      bodySize = weightedSize(sizeBytes);
    } else {
      for (const std::uint8_t byte : sizeBytes) bodySize = bodySize << 8 | byte;
    }
    const std::uint8_t formatFlags = version == 2 ? 0 : (*frameHeader)[9];
    const std::uint64_t bodyStart = position + frameHeaderSize;
    if (bodySize > tagEnd - bodyStart) break;
    position = bodyStart + bodySize;

    // Only the bodies of the frames taken are read; of a picture, only as much
    // as holds the fields in front of its bytes.
    if (!isSkipped(version, formatFlags)) {
      const bool isText = name[0] == u't' && name != u"txxx";
      if (isText || name == u"comm" || name == u"uslt") {
        const auto body = bytesAt(bodyStart, bodySize);
        if (!body) return false;
        if (isText) {
          takeTextFrame(name, version, *body);
        } else if (auto described = describedTextOf(*body)) {
          // Text that cannot be decoded still marks the tag, with no value.
          present_ = true;
          auto& comment = described->description.empty() ? plainComment : describedComment;
          if (described->text && name == u"uslt") {
            // Each text ends with a NUL: read as text, a line shows only its first one.
            appendLyrics(*described->text, true);
          } else if (described->text && !comment && !isPlayerData(described->description)) {
            comment = std::move(described->text);
          }
        }
      } else if (name == u"apic") {
        const auto picture = readPictureFrame(bytesAt, bodyStart, bodySize, version == 2);
        if (!picture) return false;
        if (picture->kind == PictureFrame::Kind::Usable)
          (picture->frontCover ? frontCover : otherPicture) = picture;
      }
    }
    // A NUL byte where the next frame would start is padding.
    if (position == tagEnd) break;
    const auto next = bytesAt(position, 1);
    if (!next) return false;
    if ((*next)[0] == 0) break;
  }

  // The comment is the first one without a description, else the first
  // other one a person wrote.
  if (const auto& comment = plainComment ? plainComment : describedComment)
    appendComment(*comment, true);
  // Without a front cover the last other picture serves.
  const auto& chosen = frontCover ? frontCover : otherPicture;
  if (chosen && chosen->size > 0) {
    if (pictureBytes == CoverBytes::Kept) {
      const auto bytes = bytesAt(chosen->start, chosen->size);
      if (!bytes) return false;
      picture_.take(*bytes, pictureBytes);
    } else {
      picture_.takeSize(static_cast<std::size_t>(chosen->size));
    }
    present_ = true;
  }
  normalise();
  return true;
}

void ID3v2Tag::takeTextFrame(std::u16string_view id, int version, Bytes body) {
  // A text that starts with its terminator leaves the field as it was. In
  // UTF-16 that is a NUL unit: a big-endian "A" starts with a NUL byte.
  const bool wide = isUtf16(body[0]);
  if (body.size() < 2 || (body[1] == 0 && (!wide || body.size() < 3 || body[2] == 0))) return;
  // Version 4 separates several values with NUL; earlier versions end the
  // text at its first NUL.
  std::u16string text;
  if (version == 4) {
    auto values = decodeValues(body[0], body.subspan(1));
    if (values.empty()) return;
    if (id == u"tcon")
      for (auto& value : values) value = resolveGenre(value);
    text = joinValues(std::move(values));
  } else {
    auto decoded = decodeText(body[0], body.subspan(1));
    if (!decoded) return;
    text = id == u"tcon" ? resolveGenre(*decoded) : std::move(*decoded);
  }
  std::u16string* target = nullptr;
  if (id == u"talb") {
    target = &album_;
  } else if (id == u"tit2") {
    target = &title_;
  } else if (id == u"tpe1") {
    target = &artist_;
  } else if (id == u"trck") {
    target = &track_;
  } else if (id == u"tory" || (id == u"tyer" && version < 4) || (id == u"tdrc" && version == 4)) {
    // The year frame of the other version is ignored on purpose.
    target = &year_;
  } else if (id == u"tcon") {
    target = &genre_;
  } else if (id == u"tpe2") {
    target = &albumArtist_;
  } else if (id == u"tpos") {
    target = &disc_;
  } else if (id == u"tcom") {
    target = &composer_;
  } else {
    return;
  }
  *target = std::move(text);
  present_ = true;
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
