#include "formats/wavpack_info.h"

#include <algorithm>
#include <array>

namespace tunora {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::uint32_t kMonoFlag = 0x4;
constexpr unsigned kRateShift = 23;
constexpr std::uint32_t kRateMask = 0xF;
constexpr std::array<std::uint32_t, 15> kSampleRates{6000,  8000,  9600,  11025, 12000,
                                                     16000, 22050, 24000, 32000, 44100,
                                                     48000, 64000, 88200, 96000, 192000};

// Metadata sub-block ids: the low six bits name the kind, 0x20 marks optional
// data, 0x40 an odd byte count, 0x80 a 24-bit length.
constexpr std::uint8_t kIdMask = 0x3F;
constexpr std::uint8_t kOddSize = 0x40;
constexpr std::uint8_t kLargeSize = 0x80;
constexpr std::uint8_t kChannelInfo = 0x0D;
constexpr std::uint8_t kSampleRate = 0x27 & kIdMask;
// The audio itself follows these; nothing after it changes the stream values.
constexpr std::uint8_t kFirstAudioId = 0x0A;

struct SubBlock {
  std::uint8_t kind;
  Bytes data;
};

std::optional<SubBlock> nextSubBlock(ByteReader& reader) {
  const auto id = reader.u8();
  if (!id) return std::nullopt;
  const std::optional<std::uint32_t> words =
      (*id & kLargeSize) ? reader.u24le() : std::optional<std::uint32_t>(reader.u8());
  if (!words) return std::nullopt;
  std::uint64_t size = std::uint64_t{*words} * 2;
  if ((*id & kOddSize) && size > 0) --size;
  const auto data = reader.bytes(size);
  if (!data) return std::nullopt;
  // The padding byte of an odd size belongs to the sub-block.
  if ((*id & kOddSize) && *words > 0) reader.skip(1);
  return SubBlock{static_cast<std::uint8_t>(*id & kIdMask), *data};
}

// The metadata in front of the audio: a rate that no index names and the
// channel count of streams beyond stereo.
void readMetadata(ByteReader reader, AudioHeaderValues& stream) {
  while (const auto sub = nextSubBlock(reader)) {
    if (sub->kind == kFirstAudioId) break;
    if (sub->kind == kSampleRate && stream.sampleRate == 0 && sub->data.size() >= 3)
      stream.sampleRate = ByteReader(sub->data).u24le().value_or(0);
    // One to five bytes: the count, then the speaker mask.
    if (sub->kind == kChannelInfo && !sub->data.empty() && sub->data.size() <= 5 &&
        sub->data[0] != 0)
      stream.channels = sub->data[0];
  }
}

}  // namespace

std::optional<AudioHeaderValues> parseWavPackBlock(Bytes block) {
  ByteReader reader{block};
  const auto magic = reader.bytes(4);
  if (!magic || !startsWith(*magic, "wvpk")) return std::nullopt;
  const auto blockSize = reader.u32le();
  reader.skip(2);  // version
  reader.skip(1);  // upper bits of the block index
  const auto totalHigh = reader.u8();
  const auto totalLow = reader.u32le();
  reader.skip(8);  // block index, samples in this block
  const auto flags = reader.u32le();
  if (!blockSize || !totalHigh || !totalLow || !flags || !reader.skip(4)) return std::nullopt;

  AudioHeaderValues stream;
  // All ones in the low 32 bits mean "unknown"; the upper byte extends the
  // count to 40 bits, stored so that this marker stays free.
  if (*totalLow != 0xFFFFFFFF)
    stream.totalSamples = *totalLow + (std::uint64_t{*totalHigh} << 32) - *totalHigh;
  stream.channels = (*flags & kMonoFlag) ? 1 : 2;
  const std::uint32_t rateIndex = (*flags >> kRateShift) & kRateMask;
  if (rateIndex < kSampleRates.size()) stream.sampleRate = kSampleRates[rateIndex];
  // The metadata of this block only, as far as it was read.
  const std::uint64_t bodySize = *blockSize >= kHeaderSize - 8 ? *blockSize - (kHeaderSize - 8) : 0;
  const Bytes rest = reader.rest();
  readMetadata(ByteReader(rest.first(
                   static_cast<std::size_t>(std::min<std::uint64_t>(bodySize, rest.size())))),
               stream);
  return stream;
}

ReadResult WavPackInfo::readFile(const std::u16string& path) {
  return readHeaderAndTags(path, kWavPackBlockPeek, "no WavPack block header found");
}

}  // namespace tunora
