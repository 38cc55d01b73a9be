#include "support/tag_bytes.h"

#include <algorithm>
#include <cstdio>

namespace tunora::testing {
namespace {

void putField(ByteVector& block, std::size_t offset, std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width && i < text.size(); ++i)
    block[offset + i] = static_cast<std::uint8_t>(text[i]);
}

void putLE32(ByteVector& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putBE32(ByteVector& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putSyncsafe(ByteVector& out, std::uint32_t value) {
  for (int shift = 21; shift >= 0; shift -= 7)
    out.push_back(static_cast<std::uint8_t>(value >> shift & 0x7F));
}

ByteVector apeHeader(std::uint32_t tagSize, std::uint32_t count, bool isHeader) {
  ByteVector out = bytesOf("APETAGEX");
  putLE32(out, 2000);
  putLE32(out, tagSize);
  putLE32(out, count);
  putLE32(out, 0x80000000u | (isHeader ? 0x20000000u : 0));
  out.resize(out.size() + 8, 0);
  return out;
}

}  // namespace

ByteVector bytesOf(std::string_view text) {
  return ByteVector(text.begin(), text.end());
}

ByteVector concat(std::initializer_list<ByteVector> parts) {
  ByteVector out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

ByteVector id3v1Block(const ID3v1Fields& fields) {
  ByteVector block(128, 0);
  putField(block, 0, "TAG", 3);
  putField(block, 3, fields.title, 30);
  putField(block, 33, fields.artist, 30);
  putField(block, 63, fields.album, 30);
  putField(block, 93, fields.year, 4);
  putField(block, 97, fields.comment, fields.track < 0 ? 30 : 28);
  if (fields.track >= 0) {
    block[125] = 0;
    block[126] = static_cast<std::uint8_t>(fields.track);
  }
  block[127] = fields.genre;
  return block;
}

ByteVector apeItem(std::string_view key, std::string_view value) {
  ByteVector out;
  putLE32(out, static_cast<std::uint32_t>(value.size()));
  putLE32(out, 0);
  out.insert(out.end(), key.begin(), key.end());
  out.push_back(0);
  out.insert(out.end(), value.begin(), value.end());
  return out;
}

ByteVector apeTag(std::initializer_list<ByteVector> items, bool withHeader) {
  const ByteVector body = concat(items);
  const auto tagSize = static_cast<std::uint32_t>(body.size() + 32);
  const auto count = static_cast<std::uint32_t>(items.size());
  ByteVector footer = apeHeader(tagSize, count, false);
  if (!withHeader) return concat({body, footer});
  return concat({apeHeader(tagSize, count, true), body, footer});
}

ByteVector id3v2Frame(int version, std::string_view id, const ByteVector& body,
                      std::uint8_t formatFlags) {
  ByteVector out = bytesOf(id);
  if (version == 2) {
    // Three bytes of size and no flags.
    putBE32(out, static_cast<std::uint32_t>(body.size()));
    out.erase(out.end() - 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
  }
  if (version == 4)
    putSyncsafe(out, static_cast<std::uint32_t>(body.size()));
  else
    putBE32(out, static_cast<std::uint32_t>(body.size()));
  out.push_back(0);
  out.push_back(formatFlags);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

ByteVector id3v2Tag(int version, const ByteVector& frames, std::uint32_t padding,
                    std::uint8_t flags) {
  ByteVector out = bytesOf("ID3");
  out.push_back(static_cast<std::uint8_t>(version));
  out.push_back(0);
  out.push_back(flags);
  putSyncsafe(out, static_cast<std::uint32_t>(frames.size()) + padding);
  out.insert(out.end(), frames.begin(), frames.end());
  out.resize(out.size() + padding, 0);
  return out;
}

ByteVector textBody(std::uint8_t encoding, const ByteVector& text) {
  ByteVector out{encoding};
  out.insert(out.end(), text.begin(), text.end());
  return out;
}

ByteVector lyrics3Field(std::string_view id, std::string_view data) {
  char size[6];
  std::snprintf(size, sizeof size, "%05u", static_cast<unsigned>(data.size()));
  return concat({bytesOf(id), bytesOf(size), bytesOf(data)});
}

ByteVector lyrics3Block(std::initializer_list<ByteVector> fields) {
  ByteVector out = concat({bytesOf("LYRICSBEGIN"), concat(fields)});
  char size[7];
  std::snprintf(size, sizeof size, "%06u", static_cast<unsigned>(out.size()));
  return concat({out, bytesOf(size), bytesOf("LYRICS200")});
}

ByteVector mpegFrame(std::uint8_t bitrateIndex, std::uint8_t sampleIndex, std::uint8_t mode,
                     std::size_t size) {
  ByteVector out(std::max<std::size_t>(size, 4), 0);
  out[0] = 0xFF;
  out[1] = 0xFB;
  out[2] = static_cast<std::uint8_t>(bitrateIndex << 4 | sampleIndex << 2);
  out[3] = static_cast<std::uint8_t>(mode << 6);
  return out;
}

}  // namespace tunora::testing
