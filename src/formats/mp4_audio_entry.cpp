#include "formats/mp4_audio_entry.h"

#include <algorithm>
#include <array>

#include "formats/mp4_atom.h"

namespace tunora {
namespace {

// A sound sample entry: size and type, six reserved bytes and the data
// reference index, version, revision and vendor, then the channel count;
// sample size, compression id, packet size and the 16.16 sample rate end the
// fixed part.
constexpr std::uint64_t kVersionOffset = 16;
constexpr std::uint64_t kChannelCountOffset = 24;
constexpr std::uint64_t kSoundEntrySize = 36;
// QuickTime's version 1 adds four 32-bit sizes; version 2 replaces the fields
// with its own: struct size, 64-bit sample rate, then a 32-bit channel count.
constexpr std::uint64_t kVersionOneSize = kSoundEntrySize + 16;
constexpr std::uint64_t kVersionTwoSize = kSoundEntrySize + 36;
constexpr std::uint64_t kVersionTwoChannelOffset = kSoundEntrySize + 12;

// Object descriptor tags (ISO/IEC 14496-1).
constexpr std::uint8_t kESDescriptor = 0x03;
constexpr std::uint8_t kDecoderConfig = 0x04;
constexpr std::uint8_t kDecoderSpecificInfo = 0x05;

struct Descriptor {
  std::uint8_t tag = 0;
  Bytes body;
};

// A tag, then a length of one to four bytes of seven bits each, the high bit
// set on all but the last; the body must be there whole.
std::optional<Descriptor> nextDescriptor(ByteReader& reader) {
  const auto tag = reader.u8();
  if (!tag) return std::nullopt;
  std::uint32_t length = 0;
  for (int i = 0; i < 4; ++i) {
    const auto byte = reader.u8();
    if (!byte) return std::nullopt;
    length = length << 7 | (*byte & 0x7Fu);
    if ((*byte & 0x80) == 0) {
      const auto body = reader.bytes(length);
      if (!body) return std::nullopt;
      return Descriptor{*tag, *body};
    }
  }
  return std::nullopt;
}

std::optional<Bytes> findDescriptor(Bytes bytes, std::uint8_t tag) {
  ByteReader reader(bytes);
  while (const auto descriptor = nextDescriptor(reader))
    if (descriptor->tag == tag) return descriptor->body;
  return std::nullopt;
}

// MPEG-4 audio, and the MPEG-2 AAC profiles, whose specific info has the same
// leading fields.
bool carriesAudioSpecificConfig(std::uint8_t objectType) {
  return objectType == 0x40 || (objectType >= 0x66 && objectType <= 0x68);
}

// The ES descriptor after the version and flags: its optional fields as its
// flags announce them, then the decoder configuration.
void takeElementaryStream(Bytes esds, MP4AudioEntry& entry) {
  ByteReader reader(esds);
  const auto es = reader.skip(4) ? findDescriptor(reader.rest(), kESDescriptor) : std::nullopt;
  if (!es) return;
  ByteReader fields(*es);
  const auto flags = fields.skip(2) ? fields.u8() : std::nullopt;
  if (!flags) return;
  if ((*flags & 0x80) && !fields.skip(2)) return;
  if (*flags & 0x40) {
    const auto urlLength = fields.u8();
    if (!urlLength || !fields.skip(*urlLength)) return;
  }
  if ((*flags & 0x20) && !fields.skip(2)) return;
  const auto config = findDescriptor(fields.rest(), kDecoderConfig);
  if (!config) return;
  // Object type, stream type, buffer size, maximum and average bit rates.
  ByteReader decoder(*config);
  const auto objectType = decoder.u8();
  const auto average = decoder.skip(8) ? decoder.u32be() : std::nullopt;
  if (!objectType || !average) return;
  entry.averageBitrate = *average;
  if (!carriesAudioSpecificConfig(*objectType)) return;
  const auto specific = findDescriptor(decoder.rest(), kDecoderSpecificInfo);
  const std::uint32_t channels = specific ? audioSpecificConfigChannels(*specific) : 0;
  if (channels != 0) entry.channels = channels;
}

// The atoms inside a sample entry; QuickTime files wrap the descriptor in a
// "wave" atom. A child that runs past the bytes read is taken as far as it
// goes: a descriptor cut short then reads as absent.
void takeChildren(Bytes children, MP4AudioEntry& entry, bool insideWave) {
  std::uint64_t offset = 0;
  while (offset < children.size()) {
    const Bytes rest = children.subspan(static_cast<std::size_t>(offset));
    const auto child = parseAtomHeader(rest, static_cast<std::int64_t>(offset));
    if (!child) return;
    const std::uint64_t size = child->size == 0 ? rest.size() : child->size;
    const Bytes content =
        rest.first(static_cast<std::size_t>(std::min<std::uint64_t>(size, rest.size())))
            .subspan(child->headerSize);
    if (child->is("esds")) {
      takeElementaryStream(content, entry);
      return;
    }
    if (child->is("wave") && !insideWave) takeChildren(content, entry, true);
    offset += size;
  }
}

}  // namespace

std::uint32_t audioSpecificConfigChannels(Bytes config) {
  // Channel configurations 1-7 and the later 11-14 (ISO/IEC 14496-3 1.6.3.4).
  static constexpr std::array<std::uint32_t, 16> kChannels{0, 1, 2, 3, 4, 5,  6, 8,
                                                           0, 0, 0, 7, 8, 24, 8, 0};
  constexpr std::uint32_t kEscapedObjectType = 31;
  constexpr std::uint32_t kEscapedFrequency = 15;
  constexpr std::uint32_t kParametricStereo = 29;
  std::uint64_t bit = 5;
  auto objectType = bitsAt(config, 0, 5);
  if (objectType == kEscapedObjectType) {
    const auto extension = bitsAt(config, bit, 6);
    objectType = extension ? std::optional(32 + *extension) : std::nullopt;
    bit += 6;
  }
  const auto frequencyIndex = bitsAt(config, bit, 4);
  bit += 4;
  if (frequencyIndex == kEscapedFrequency) bit += 24;
  const auto configuration = bitsAt(config, bit, 4);
  if (!objectType || !frequencyIndex || !configuration) return 0;
  const std::uint32_t channels = kChannels[*configuration];
  // Parametric stereo decodes a mono core into two channels.
  return *objectType == kParametricStereo && channels == 1 ? 2 : channels;
}

std::optional<MP4AudioEntry> parseAudioSampleDescriptions(Bytes stsdContent) {
  // Version and flags, and the entry count, before the first entry.
  if (stsdContent.size() < 8) return std::nullopt;
  const Bytes first = stsdContent.subspan(8);
  ByteReader reader(first);
  const auto entrySize = reader.u32be();
  const auto version = reader.seek(kVersionOffset) ? reader.u16be() : std::nullopt;
  const auto channels = reader.seek(kChannelCountOffset) ? reader.u16be() : std::nullopt;
  if (!entrySize || !version || !channels) return std::nullopt;
  MP4AudioEntry entry;
  entry.channels = *channels;
  std::uint64_t childrenStart = kSoundEntrySize;
  if (*version == 1) {
    childrenStart = kVersionOneSize;
  } else if (*version == 2) {
    childrenStart = kVersionTwoSize;
    const auto wide = reader.seek(kVersionTwoChannelOffset) ? reader.u32be() : std::nullopt;
    entry.channels = wide.value_or(0);
  } else if (*version != 0) {
    return entry;
  }
  const std::uint64_t end = std::min<std::uint64_t>(*entrySize, first.size());
  if (childrenStart < end)
    takeChildren(*subspan(first, childrenStart, end - childrenStart), entry, false);
  return entry;
}

}  // namespace tunora
