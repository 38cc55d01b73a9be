#pragma once
// FLAC metadata (the FLAC format): 4-byte block headers, last-block flag and
// type in the first byte, a 24-bit big-endian length that leaves the header
// out; and the STREAMINFO values the reader shows.

#include <cstdint>
#include <optional>
#include <vector>

#include "text/byte_reader.h"

namespace tunora {

enum class FLACBlockType : std::uint8_t { StreamInfo = 0, Picture = 6, VorbisComment = 4 };

struct FLACBlockHeader {
  bool isLast = false;
  std::uint8_t type = 0;
  std::uint32_t length = 0;

  bool is(FLACBlockType wanted) const { return type == static_cast<std::uint8_t>(wanted); }
};

std::optional<FLACBlockHeader> parseFLACBlockHeader(Bytes header);

struct FLACStreamInfo {
  std::uint32_t sampleRate = 0;
  std::uint32_t channels = 0;
  // The low 32 bits of the 36-bit count, as the reader has always taken it.
  std::uint32_t totalSamples = 0;
  // All 36 bits, for the playing time of the longest streams.
  std::uint64_t allSamples = 0;
};

// From the 34-byte STREAMINFO body; nothing when it is shorter.
std::optional<FLACStreamInfo> parseFLACStreamInfo(Bytes body);

// A PICTURE block body (also the decoded form of an Ogg
// METADATA_BLOCK_PICTURE comment): picture type, MIME type and description
// with their lengths, four 32-bit figures, then the data with its length.

// Where the body keeps the picture data, from the fields in front of it.
struct FLACPictureLayout {
  std::uint32_t type = 0;
  std::uint64_t dataOffset = 0;
  std::uint32_t dataSize = 0;
};
// `front` is the body's first bytes, `bodySize` the whole body's size, so
// that a reader can leave the data unread. Nothing when the fields run past
// `front` (the whole body then tells for certain), or the data runs past the
// body or is empty.
std::optional<FLACPictureLayout> locateFLACPicture(Bytes front, std::uint64_t bodySize);

// The fields in front of a picture's data take a few dozen bytes but for a
// long description. Readers that leave the data alone take only this many
// bytes at first, and the whole body when the fields run past them.
inline constexpr std::uint64_t kFLACPictureFieldsFront = 256;

// The picture data of a whole body; nothing as above. `size` is the data's
// size, also where a reader measured the data and did not keep it.
struct FLACPicture {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  std::size_t size = 0;
};
std::optional<FLACPicture> parseFLACPicture(Bytes body);

// The front cover (type 3) is taken over any other picture.
inline constexpr std::uint32_t kFrontCoverPicture = 3;

}  // namespace tunora
