#include "formats/flac_metadata.h"

namespace tunora {

std::optional<FLACBlockHeader> parseFLACBlockHeader(Bytes header) {
  ByteReader reader(header);
  const auto flagAndType = reader.u8();
  const auto length = reader.u24be();
  if (!length) return std::nullopt;
  return FLACBlockHeader{(*flagAndType & 0x80) != 0, static_cast<std::uint8_t>(*flagAndType & 0x7F),
                         *length};
}

std::optional<FLACStreamInfo> parseFLACStreamInfo(Bytes body) {
  // Minimum and maximum block and frame sizes come first.
  ByteReader reader(body);
  if (!reader.skip(10)) return std::nullopt;
  const auto rateHigh = reader.u16be();
  const auto packed = reader.u8();
  const auto samplesHigh = reader.u8();
  const auto samplesLow = reader.u32be();
  if (!samplesLow || body.size() < 34) return std::nullopt;
  FLACStreamInfo info;
  // 20 bits of sample rate, 3 of channels minus one, 5 of bits per sample.
  info.sampleRate = static_cast<std::uint32_t>(*rateHigh) << 4 | *packed >> 4;
  info.channels = ((*packed >> 1) & 7) + 1u;
  info.totalSamples = *samplesLow;
  info.allSamples = std::uint64_t{*samplesHigh & 0x0Fu} << 32 | *samplesLow;
  return info;
}

std::optional<FLACPictureLayout> locateFLACPicture(Bytes front, std::uint64_t bodySize) {
  ByteReader reader(front);
  const auto type = reader.u32be();
  if (!type) return std::nullopt;
  for (int text = 0; text < 2; ++text) {
    const auto length = reader.u32be();
    if (!length || !reader.skip(*length)) return std::nullopt;
  }
  // Width, height, colour depth, palette size.
  if (!reader.skip(16)) return std::nullopt;
  const auto length = reader.u32be();
  if (!length || *length == 0 || reader.position() > bodySize ||
      *length > bodySize - reader.position())
    return std::nullopt;
  return FLACPictureLayout{*type, reader.position(), *length};
}

std::optional<FLACPicture> parseFLACPicture(Bytes body) {
  const auto layout = locateFLACPicture(body, body.size());
  if (!layout) return std::nullopt;
  const Bytes data = body.subspan(static_cast<std::size_t>(layout->dataOffset), layout->dataSize);
  return FLACPicture{layout->type, std::vector<std::uint8_t>(data.begin(), data.end()),
                     data.size()};
}

}  // namespace tunora
