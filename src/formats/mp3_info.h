#pragma once
// Files with the extension ".mp3": the ID3v1, ID3v2, Lyrics3 v2 and APEv2
// tags, and bit rate, sample rate and channels from the first MPEG audio
// frame header (any version, any layer) or the Xing header in that frame.

#include <cstdint>
#include <optional>
#include <span>

#include "formats/mpeg_frame.h"
#include "formats/mpeg_tags_info.h"

namespace tunora {

struct FoundFrame;

class MP3Info : public MpegTagsInfo {
 protected:
  void readStream(FileBlocks& blocks, std::int64_t streamStart) override;
  std::string_view missingStream() const override;
  std::span<const TagKind> fieldPrecedence() const override;
  std::span<const TagKind> lyricsPrecedence() const override;

 private:
  // From the frame counts of the first frame's header, else from the audio's
  // size at the frame's rate; `xing` holds the bytes where a Xing header
  // would stand.
  void readPlayingTime(FileBlocks& blocks, const FoundFrame& frame, Bytes xing);
};

struct FoundFrame {
  std::int64_t offset = 0;
  MpegFrameHeader header;
};

// A header right at the stream start is taken as it is. Behind it, the scan
// takes the first header whose next header follows where its length says,
// and looks no further than kFrameScanLimit bytes past the stream start.
inline constexpr std::int64_t kFrameScanLimit = 128 * 1024;
std::optional<FoundFrame> findFrameHeader(FileBlocks& blocks, std::int64_t streamStart);

}  // namespace tunora
