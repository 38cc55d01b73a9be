#pragma once
// Files with the extension ".mp3": the ID3v1, ID3v2, Lyrics3 v2 and APEv2
// tags, and bit rate, sample rate and channels from the first MPEG-1 Layer III
// frame header or a Xing header right after the tag.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "tags/mpeg_tags_info.h"

namespace tunora {

class MP3Info : public MpegTagsInfo {
 protected:
  void readStream(FileBlocks& blocks, std::int64_t streamStart) override;
  std::span<const TagKind> fieldPrecedence() const override;
  std::span<const TagKind> lyricsPrecedence() const override;
};

// The first four bytes of an MPEG-1 Layer III frame: FF FB, or FF FA with CRC.
using FrameHeader = std::array<std::uint8_t, 4>;

// The header at the stream start, else the first sync pair after it. The
// search looks at the pairs that 100-byte windows stepping by 99 bytes from
// the byte after the stream start would see, but reads large blocks.
std::optional<FrameHeader> findFrameHeader(FileBlocks& blocks, std::int64_t streamStart);

}  // namespace tunora
