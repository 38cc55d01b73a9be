#pragma once
// Builders of tag bytes for tests: blocks laid out as the tag formats say,
// with the quirks no tagging tool writes left to each test.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tunora::testing {

using ByteVector = std::vector<std::uint8_t>;

ByteVector bytesOf(std::string_view text);
ByteVector concat(std::initializer_list<ByteVector> parts);

// A 128-byte ID3v1 block; fields are cut or NUL-padded to their width.
struct ID3v1Fields {
  std::string title{};
  std::string artist{};
  std::string album{};
  std::string year{};
  std::string comment{};
  int track = -1;  // -1: ID3v1.0 (the comment may use all 30 bytes)
  std::uint8_t genre = 255;
};
ByteVector id3v1Block(const ID3v1Fields& fields);

// An APEv2 tag with header and footer around the items, in the given order.
ByteVector apeItem(std::string_view key, std::string_view value);
ByteVector apeTag(std::initializer_list<ByteVector> items, bool withHeader = true);

// ID3v2: a frame of version 2, 3 or 4 (version 2 ids have three characters
// and its frames no flags) and a tag around frames (plus padding).
ByteVector id3v2Frame(int version, std::string_view id, const ByteVector& body,
                      std::uint8_t formatFlags = 0);
ByteVector id3v2Tag(int version, const ByteVector& frames, std::uint32_t padding = 0,
                    std::uint8_t flags = 0);
// A text frame body: encoding byte, then the text as given (already encoded).
ByteVector textBody(std::uint8_t encoding, const ByteVector& text);

// A Lyrics3 v2 block: "LYRICSBEGIN", the fields, the 6-digit size, "LYRICS200".
ByteVector lyrics3Field(std::string_view id, std::string_view data);
ByteVector lyrics3Block(std::initializer_list<ByteVector> fields);

// One MPEG-1 Layer III frame header and a frame padded to `size` bytes.
ByteVector mpegFrame(std::uint8_t bitrateIndex, std::uint8_t sampleIndex, std::uint8_t mode,
                     std::size_t size = 417);

}  // namespace tunora::testing
