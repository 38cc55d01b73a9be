#pragma once
// Ogg Opus files (RFC 7845): channels and pre-skip from the identification
// header (OpusHead), tags and a cover from the comment header (OpusTags, a
// Vorbis comment block), the playing time from the last page's granule
// position. Opus always decodes at 48 kHz, which is the rate shown.

#include <cstdint>
#include <optional>
#include <string>

#include "formats/format_track_info.h"
#include "text/byte_reader.h"

namespace tunora {

struct OpusHead {
  std::uint8_t channels = 0;
  // Samples at 48 kHz that the decoder drops at the start.
  std::uint16_t preSkip = 0;
};

// The identification packet, "OpusHead" included; nothing for another
// packet, a major version other than 0 or no channel.
std::optional<OpusHead> parseOpusHead(Bytes packet);

class OpusInfo : public FormatTrackInfo {
 public:
  static constexpr std::uint32_t kSampleRate = 48000;

  // Nothing is taken without an OpusHead packet on the first page.
  ReadResult readFile(const std::u16string& path) override;

 private:
  // The playing time and the mean bit rate of the audio pages from
  // `audioStart` on.
  void readTiming(FileBlocks& blocks, const OpusHead& head, std::int64_t audioStart);
};

}  // namespace tunora
