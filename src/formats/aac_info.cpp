#include "formats/aac_info.h"

#include <array>

namespace tunora {
namespace {

// The sampling frequency index of ISO/IEC 14496-3; 13 to 15 are reserved.
constexpr std::array<std::uint32_t, 16> kSampleRates{96000, 88200, 64000, 48000, 44100, 32000,
                                                     24000, 22050, 16000, 12000, 11025, 8000,
                                                     7350,  0,     0,     0};
constexpr std::size_t kHeaderRead = 50;
// The ADIF fields of ISO/IEC 13818-7, as bit positions after "ADIF" (and
// after the 72-bit copyright identifier when there is one).
constexpr std::size_t kAdifFields = 4;
constexpr std::size_t kCopyrightIdBytes = 9;
constexpr std::uint64_t kBitstreamTypeBit = 3;
constexpr std::uint64_t kBitrateBit = 4;
constexpr std::uint64_t kConstantRateElementBit = 51;
constexpr std::uint64_t kVariableRateElementBit = 31;

bool isADTS(Bytes header) {
  return header.size() >= 4 && header[0] == 0xFF && (header[1] & 0xF0) == 0xF0;
}

// The ADTS frames the bit rate is averaged over, and the fixed header part
// that holds a frame's length and block count.
constexpr int kRateFrames = 64;
constexpr std::size_t kAdtsFixedHeader = 7;
constexpr std::uint32_t kSamplesPerBlock = 1024;

// The bytes of the frames from `start` on and the samples they decode to, in
// blocks of 1024. Counting stops at the first frame that is cut short or not
// ADTS.
struct AdtsRun {
  std::uint64_t bytes = 0;
  std::uint64_t samples = 0;
};

AdtsRun measureAdtsFrames(FileBlocks& blocks, std::int64_t start) {
  std::uint64_t bytes = 0;
  std::uint64_t samples = 0;
  std::int64_t position = start;
  for (int frame = 0; frame < kRateFrames; ++frame) {
    const auto header = blocks.read(position, kAdtsFixedHeader);
    if (!header || !isADTS(*header)) break;
    const auto frameLength = bitsAt(*header, 30, 13);
    const auto rawBlocks = bitsAt(*header, 54, 2);
    if (!frameLength || !rawBlocks || *frameLength < kAdtsFixedHeader ||
        *frameLength > static_cast<std::uint64_t>(blocks.length() - position))
      break;
    bytes += *frameLength;
    samples += (*rawBlocks + 1) * kSamplesPerBlock;
    position += *frameLength;
  }
  return {bytes, samples};
}

}  // namespace

void AACInfo::readStream(FileBlocks& blocks, std::int64_t streamStart) {
  // No search: the stream header starts right at the tag end, or is not read.
  if (blocks.length() <= streamStart + static_cast<std::int64_t>(kHeaderRead)) return;
  const auto header = blocks.read(streamStart, kHeaderRead);
  if (!header) return;
  if (isADTS(*header))
    readADTS(blocks, streamStart, *header);
  else if (startsWith(*header, "ADIF"))
    readADIF(*header, streamStart);
}

// The header holds no bit rate: it comes from the frames themselves.
void AACInfo::readADTS(FileBlocks& blocks, std::int64_t start, Bytes header) {
  const std::uint32_t channels = (header[2] & 0x01) << 2 | header[3] >> 6;
  const std::uint32_t sampleRate = kSampleRates[(header[2] >> 2) & 0x0F];
  setChannels(channels);
  setSampleRate(sampleRate);
  // The frames' lengths over the time their samples last.
  const auto run = measureAdtsFrames(blocks, start);
  if (run.samples == 0 || sampleRate == 0) return;
  setKilobitsPerSecond(run.bytes * 8 * sampleRate / run.samples / 1000);
  // The playing time follows from the size of the whole stream at that rate:
  // counting every frame would take a pass over the file.
  meanRate_ = MeanRate{
      start, static_cast<double>(run.bytes) * 8.0 * sampleRate / static_cast<double>(run.samples)};
}

void AACInfo::readADIF(Bytes header, std::int64_t streamStart) {
  const std::size_t start = kAdifFields + ((header[kAdifFields] & 0x80) ? kCopyrightIdBytes : 0);
  if (start >= header.size()) return;
  const Bytes fields = header.subspan(start);
  const auto variableRate = bitsAt(fields, kBitstreamTypeBit, 1);
  const auto bitrate = bitsAt(fields, kBitrateBit, 23);
  if (!variableRate || !bitrate) return;
  // The first program configuration element: tag (4 bits), object type (2),
  // sampling index (4), then the front, side and back channel elements (4
  // each) and the LFE elements (2).
  const std::uint64_t element = *variableRate ? kVariableRateElementBit : kConstantRateElementBit;
  const auto samplingIndex = bitsAt(fields, element + 6, 4);
  const auto front = bitsAt(fields, element + 10, 4);
  const auto side = bitsAt(fields, element + 14, 4);
  const auto back = bitsAt(fields, element + 18, 4);
  const auto lfe = bitsAt(fields, element + 22, 2);
  if (!samplingIndex || !front || !side || !back || !lfe) return;
  setSampleRate(kSampleRates[*samplingIndex]);
  setBitsPerSecond(*variableRate ? 0 : *bitrate);
  // A variable rate's field is its peak, which says nothing of the time.
  if (!*variableRate && *bitrate != 0)
    meanRate_ = MeanRate{streamStart, static_cast<double>(*bitrate)};
  setChannels(*lfe + 2 * (*front + *side + *back));
}

std::string_view AACInfo::missingStream() const {
  return "no ADTS or ADIF header found";
}

std::span<const TagKind> AACInfo::fieldPrecedence() const {
  static constexpr std::array kFieldPrecedence{TagKind::APEv2, TagKind::ID3v2, TagKind::ID3v1};
  return kFieldPrecedence;
}

std::span<const TagKind> AACInfo::lyricsPrecedence() const {
  static constexpr std::array kLyricsPrecedence{TagKind::APEv2, TagKind::ID3v2};
  return kLyricsPrecedence;
}

}  // namespace tunora
