#include "formats/mp4_audio_entry.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/format_bytes.h"

namespace tunora {
namespace {

using namespace testing;

// Fields of `count` bits each, most significant bit first, padded to bytes.
ByteVector bitFields(const std::vector<std::pair<std::uint32_t, unsigned>>& fields) {
  ByteVector bytes;
  unsigned used = 0;
  for (const auto& [value, count] : fields) {
    for (unsigned bit = count; bit-- > 0;) {
      if (used % 8 == 0) bytes.push_back(0);
      bytes.back() |= static_cast<std::uint8_t>(((value >> bit) & 1u) << (7 - used % 8));
      ++used;
    }
  }
  return bytes;
}

ByteVector config(std::uint32_t objectType, std::uint32_t channels) {
  return bitFields({{objectType, 5}, {4, 4}, {channels, 4}, {0, 3}});
}

// A descriptor whose length takes that many bytes: some muxers always write
// four.
ByteVector descriptor(std::uint8_t tag, const ByteVector& body, int lengthBytes = 1) {
  ByteVector length(static_cast<std::size_t>(lengthBytes - 1), 0x80);
  length.push_back(static_cast<std::uint8_t>(body.size()));
  return concat({ByteVector{tag}, length, body});
}

struct Stream {
  std::uint8_t objectType = 0x40;
  std::uint32_t average = 64000;
  ByteVector specific = config(2, 2);
  // ES flags and the fields they announce.
  ByteVector esFields = {0};
  int lengthBytes = 1;
};

ByteVector esds(const Stream& stream) {
  const ByteVector decoder =
      concat({ByteVector{stream.objectType, 0x15, 0, 0x18, 0}, be32(128000), be32(stream.average),
              descriptor(5, stream.specific, stream.lengthBytes)});
  const ByteVector es = concat(
      {be16(1), stream.esFields, descriptor(4, decoder, stream.lengthBytes), descriptor(6, {2})});
  return atom("esds", concat({be32(0), descriptor(3, es, stream.lengthBytes)}));
}

// The stsd content: version and flags, entry count, one sound entry.
ByteVector descriptions(const ByteVector& children, std::uint16_t channels = 2,
                        std::uint16_t version = 0, std::uint32_t wideChannels = 0) {
  ByteVector entry = concat({ByteVector(6, 0), be16(1), be16(version), be16(0), be32(0),
                             be16(channels), be16(16), be32(0), be32(44100u << 16)});
  if (version == 1) entry = concat({entry, ByteVector(16, 0)});
  if (version == 2)
    entry =
        concat({entry, be32(72), be64(0), be32(wideChannels), be32(0x7F000000), ByteVector(16, 0)});
  return concat({be32(0), be32(1), atom("mp4a", concat({entry, children}))});
}

TEST(MP4AudioEntry, ConfigurationChannelsWinOverTheEntry) {
  const struct {
    std::uint32_t objectType;
    std::uint32_t configuration;
    std::uint32_t channels;
  } cases[] = {
      {2, 0, 2},
      {2, 1, 1},
      {2, 2, 2},
      {2, 6, 6},
      {2, 7, 8},
      {2, 8, 2},
      {2, 10, 2},
      {2, 11, 7},
      {2, 13, 24},
      {2, 14, 8},
      {2, 15, 2},
      // Parametric stereo plays a mono core as two channels; SBR does not.
      {29, 1, 2},
      {29, 2, 2},
      {5, 1, 1},
  };
  for (const auto& c : cases) {
    Stream stream;
    stream.specific = config(c.objectType, c.configuration);
    const auto entry = parseAudioSampleDescriptions(descriptions(esds(stream)));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->channels, c.channels) << c.objectType << " " << c.configuration;
    EXPECT_EQ(entry->averageBitrate, 64000u);
  }
}

TEST(MP4AudioEntry, EscapedObjectTypeAndFrequencyMoveTheChannelField) {
  // Object type 31 + 6 bits; frequency index 15 + a 24-bit rate.
  EXPECT_EQ(audioSpecificConfigChannels(bitFields({{31, 5}, {10, 6}, {4, 4}, {6, 4}})), 6u);
  EXPECT_EQ(audioSpecificConfigChannels(bitFields({{2, 5}, {15, 4}, {44100, 24}, {1, 4}})), 1u);
  EXPECT_EQ(audioSpecificConfigChannels(bitFields({{31, 5}, {0, 6}, {15, 4}, {96000, 24}, {3, 4}})),
            3u);
  // The field must be there: 13 bits in two bytes, 37 in five.
  const ByteVector escaped = bitFields({{2, 5}, {15, 4}, {44100, 24}, {1, 4}});
  EXPECT_EQ(audioSpecificConfigChannels(Bytes(escaped).first(4)), 0u);
  EXPECT_EQ(audioSpecificConfigChannels(ByteVector{0x12}), 0u);
  EXPECT_EQ(audioSpecificConfigChannels({}), 0u);
}

TEST(MP4AudioEntry, DescriptorLayouts) {
  const auto parse = [](const Stream& stream) {
    return parseAudioSampleDescriptions(descriptions(esds(stream)));
  };
  // Lengths of up to four bytes.
  Stream longLengths;
  longLengths.lengthBytes = 4;
  longLengths.specific = config(2, 6);
  EXPECT_EQ(parse(longLengths)->channels, 6u);
  longLengths.lengthBytes = 5;
  EXPECT_EQ(parse(longLengths)->channels, 2u);
  EXPECT_EQ(parse(longLengths)->averageBitrate, 0u);
  // Dependence, URL and OCR fields ahead of the decoder configuration.
  Stream optional;
  optional.esFields = concat({ByteVector{0xE0}, be16(7), ByteVector{3}, bytesOf("url"), be16(9)});
  optional.specific = config(2, 1);
  EXPECT_EQ(parse(optional)->channels, 1u);
  EXPECT_EQ(parse(optional)->averageBitrate, 64000u);
  // MP3 in MP4: the average counts, there is no AAC configuration to read.
  Stream mp3;
  mp3.objectType = 0x6B;
  mp3.specific = config(2, 1);
  EXPECT_EQ(parse(mp3)->channels, 2u);
  EXPECT_EQ(parse(mp3)->averageBitrate, 64000u);
  // MPEG-2 AAC LC carries the same leading fields.
  Stream mpeg2;
  mpeg2.objectType = 0x67;
  mpeg2.specific = config(2, 6);
  EXPECT_EQ(parse(mpeg2)->channels, 6u);
  Stream variable;
  variable.average = 0;
  EXPECT_EQ(parse(variable)->averageBitrate, 0u);
}

TEST(MP4AudioEntry, EntryVersionsAndWrappers) {
  Stream six;
  six.specific = config(2, 6);
  EXPECT_EQ(parseAudioSampleDescriptions(descriptions(esds(six), 2, 1))->channels, 6u);
  EXPECT_EQ(parseAudioSampleDescriptions(descriptions(esds(six), 2, 2, 3))->channels, 6u);
  // Version 2 keeps the count in its own 32-bit field.
  EXPECT_EQ(parseAudioSampleDescriptions(descriptions({}, 2, 2, 3))->channels, 3u);
  // QuickTime's wave atom around the descriptor, one level deep.
  EXPECT_EQ(parseAudioSampleDescriptions(descriptions(atom("wave", esds(six))))->channels, 6u);
  EXPECT_EQ(
      parseAudioSampleDescriptions(descriptions(atom("wave", atom("wave", esds(six)))))->channels,
      2u);
  // Unknown entry versions keep the entry's count and read no children.
  EXPECT_EQ(parseAudioSampleDescriptions(descriptions(esds(six), 2, 3))->channels, 2u);
  // Another child before the descriptor is stepped over.
  EXPECT_EQ(parseAudioSampleDescriptions(
                descriptions(concat({atom("btrt", ByteVector(12, 0)), esds(six)})))
                ->channels,
            6u);
}

TEST(MP4AudioEntry, ShortOrBrokenBytesGiveWhatIsThere) {
  Stream six;
  six.specific = config(2, 6);
  const ByteVector whole = descriptions(esds(six));
  // The entry's channel count is the least there must be: 8 + 26 bytes.
  EXPECT_FALSE(parseAudioSampleDescriptions(Bytes(whole).first(33)));
  EXPECT_EQ(parseAudioSampleDescriptions(Bytes(whole).first(34))->channels, 2u);
  // A descriptor cut short by one byte reads as absent.
  EXPECT_EQ(parseAudioSampleDescriptions(whole)->channels, 6u);
  const auto cut = parseAudioSampleDescriptions(Bytes(whole).first(whole.size() - 1));
  EXPECT_EQ(cut->channels, 2u);
  EXPECT_EQ(cut->averageBitrate, 0u);
  EXPECT_FALSE(parseAudioSampleDescriptions({}));
}

}  // namespace
}  // namespace tunora
