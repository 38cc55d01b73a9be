#include "formats/vorbis_headers.h"

namespace tunora {

std::optional<VorbisIdentification> parseVorbisIdentification(Bytes afterSignature) {
  ByteReader reader(afterSignature);
  const auto version = reader.u32le();
  const auto channels = reader.u8();
  const auto sampleRate = reader.u32le();
  const auto maximum = reader.u32le();
  const auto nominal = reader.u32le();
  const auto minimum = reader.u32le();
  const auto blockSizes = reader.u8();
  const auto framing = reader.u8();
  if (!framing || *version != 0) return std::nullopt;
  const unsigned small = *blockSizes & 0x0F;
  const unsigned large = *blockSizes >> 4;
  if (small < 6 || small > 13 || large < 6 || large > 13 || small > large) return std::nullopt;
  if ((*framing & 1) == 0) return std::nullopt;
  (void)maximum;
  (void)minimum;
  VorbisIdentification identification;
  identification.channels = *channels;
  identification.sampleRate = *sampleRate;
  // A negative nominal rate means "not set", not four gigabits.
  if (static_cast<std::int32_t>(*nominal) > 0) identification.nominalBitrate = *nominal;
  return identification;
}

}  // namespace tunora
