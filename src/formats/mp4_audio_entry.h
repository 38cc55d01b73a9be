#pragma once
// The first entry of an audio track's sample descriptions ("stsd",
// ISO/IEC 14496-12 and 14496-14): the channel count it states and, for MPEG-4
// audio, what its elementary stream descriptor ("esds") adds: the average bit
// rate and the channel configuration of the AudioSpecificConfig
// (ISO/IEC 14496-3). Encoders write 2 into the entry for any AAC stream, so
// the configuration, where it names a layout, is the better count.

#include <cstdint>
#include <optional>

#include "text/byte_reader.h"

namespace tunora {

struct MP4AudioEntry {
  // 0 when not known.
  std::uint32_t channels = 0;
  // Bits per second as the descriptor states it; 0 when not stated.
  std::uint32_t averageBitrate = 0;
};

// From the bytes after the "stsd" header, which may be only the first part
// of the atom. Nothing when not even the entry's channel count is there.
std::optional<MP4AudioEntry> parseAudioSampleDescriptions(Bytes stsdContent);

// The channel count of an AudioSpecificConfig; 0 when it names no layout
// (the layout is then in a program config element).
std::uint32_t audioSpecificConfigChannels(Bytes config);

}  // namespace tunora
