#pragma once
// Raw AAC files with the extension ".aac": the ID3v1, ID3v2 and APEv2 tags
// (APEv2 answers first), and sample rate and channels from the ADTS or ADIF
// header that directly follows the ID3v2 tag or starts the file. The bit rate
// is the ADIF header's, or the mean over the first ADTS frames.

#include <span>

#include "formats/mpeg_tags_info.h"

namespace tunora {

class AACInfo : public MpegTagsInfo {
 protected:
  void readStream(FileBlocks& blocks, std::int64_t streamStart) override;
  std::string_view missingStream() const override;
  std::span<const TagKind> fieldPrecedence() const override;
  std::span<const TagKind> lyricsPrecedence() const override;

 private:
  // `header` is read again by the frame walk: it is used before that.
  void readADTS(FileBlocks& blocks, std::int64_t start, Bytes header);
  void readADIF(Bytes header, std::int64_t streamStart);
};

}  // namespace tunora
