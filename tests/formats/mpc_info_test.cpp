#include "formats/mpc_info.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "formats/mpc_stream_header.h"
#include "io/file.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using MPCFile = TrackFileTest<MPCInfo>;

// Stream header and some audio bytes.
ByteVector stream(std::uint8_t version, std::uint32_t frames, std::uint8_t rateIndex = 0) {
  return concat({musepackHeader(version, frames, rateIndex), ByteVector(400, 0x11)});
}

TEST(MPCRealFiles, MpcencFileWithApeTag) {
  MPCInfo info;
  EXPECT_EQ(info.readFile(fixturePath("formats/mpcenc_apev2.mpc")), ReadResult::Read);
  EXPECT_TRUE(info.hasTag());
  EXPECT_EQ(info.getPresentTags(), u"APEv2");
  EXPECT_EQ(info.getArtist(), u"Tunora Ensemble");
  EXPECT_EQ(info.getTitle(), u"Mpc Fixture");
  EXPECT_EQ(info.getAlbum(), u"Fixtures");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getTrackNumber(), u"5");
  // A second of silence in version 8: 18 bytes of audio are below one
  // kilobit per second.
  EXPECT_EQ(info.getSampleRate(), u"44100");
  EXPECT_EQ(info.getStereoMode(), u"2");
  EXPECT_EQ(info.getBitrate(), u"Unknown");
  EXPECT_FALSE(info.hasCover());
}

TEST(MPCRealFiles, MpcencVersionEightStreams) {
  // Half a second each; mutagen, counting the whole file, gives 33,536 and
  // 32,064 bit/s.
  const struct {
    const char* fixture;
    const char16_t* channels;
    const char16_t* sampleRate;
    const char16_t* bitrate;
  } cases[] = {
      {"formats/mpcenc_sv8_mono_32000.mpc", u"1", u"32000", u"32"},
      {"formats/mpcenc_sv8_stereo_48000.mpc", u"2", u"48000", u"31"},
  };
  for (const auto& c : cases) {
    MPCInfo info;
    EXPECT_EQ(info.readFile(fixturePath(c.fixture)), ReadResult::Read) << c.fixture;
    EXPECT_EQ(info.getStereoMode(), c.channels) << c.fixture;
    EXPECT_EQ(info.getSampleRate(), c.sampleRate) << c.fixture;
    EXPECT_EQ(info.getBitrate(), c.bitrate) << c.fixture;
    EXPECT_FALSE(info.hasTag());
  }
}

// Version 8 numbers: seven bits a byte, most significant first, in at
// least `width` bytes.
ByteVector packedNumber(std::uint64_t value, std::size_t width = 1) {
  ByteVector bytes;
  do {
    bytes.insert(bytes.begin(), static_cast<std::uint8_t>(value & 0x7F));
    value >>= 7;
  } while (value != 0 || bytes.size() < width);
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) bytes[i] |= 0x80;
  return bytes;
}

// A packet whose size counts its key and the size field itself.
ByteVector packet(std::string_view key, const ByteVector& payload) {
  std::size_t width = 1;
  while (packedNumber(2 + width + payload.size()).size() > width) ++width;
  return concat({bytesOf(key), packedNumber(2 + width + payload.size(), width), payload});
}

ByteVector streamHeader(std::uint64_t samples, std::uint64_t silence = 0,
                        std::uint8_t rateIndex = 0, std::uint8_t channels = 2) {
  return concat({be32(0x12345678), ByteVector{8}, packedNumber(samples), packedNumber(silence),
                 ByteVector{static_cast<std::uint8_t>(rateIndex << 5 | 0x1F),
                            static_cast<std::uint8_t>((channels - 1) << 4 | 0x0B)}});
}

// One second at 44100 Hz whose audio packet and end packet span 20,000
// bytes: 160 kbit/s. `before` stands between the header packets and the
// audio.
ByteVector sv8Stream(const ByteVector& before = {},
                     const ByteVector& header = streamHeader(44100)) {
  return concat({bytesOf("MPCK"), packet("SH", header), packet("RG", ByteVector(9, 0)), before,
                 packet("AP", ByteVector(20000 - 5 - 3, 0x5A)), packet("SE", {})});
}

TEST(MusepackHeader, VersionEightPacketHeaders) {
  const struct {
    ByteVector bytes;
    std::optional<std::uint64_t> size;
  } cases[] = {
      {concat({bytesOf("SH"), ByteVector{3}}), 3},
      {concat({bytesOf("SH"), ByteVector{2}}), std::nullopt},
      {concat({bytesOf("AP"), ByteVector{0x7F}}), 127},
      {concat({bytesOf("AP"), ByteVector{0x81, 0x00}}), 128},
      {concat({bytesOf("AP"), ByteVector{0x80, 0x03}}), std::nullopt},
      {concat({bytesOf("AP"), ByteVector{0x80, 0x04}}), 4},
      {concat({bytesOf("AP"), ByteVector(7, 0x81), ByteVector{0x00}}), 0x2040810204080ull},
      {concat({bytesOf("AP"), ByteVector(8, 0x81), ByteVector{0x00}}), std::nullopt},
      {concat({bytesOf("AP"), ByteVector{0x81}}), std::nullopt},
      {concat({bytesOf("Ap"), ByteVector{3}}), std::nullopt},
      {concat({bytesOf("@P"), ByteVector{3}}), std::nullopt},
      {concat({bytesOf("Z["), ByteVector{3}}), std::nullopt},
  };
  for (const auto& c : cases) {
    const auto packet = parseMusepackPacketHeader(c.bytes);
    ASSERT_EQ(packet.has_value(), c.size.has_value()) << c.bytes.size();
    if (packet) {
      EXPECT_EQ(packet->size, *c.size);
    }
  }
  EXPECT_EQ(parseMusepackPacketHeader(concat({bytesOf("AP"), ByteVector{0x81, 0x00}}))->headerSize,
            4u);
}

TEST(MusepackHeader, VersionEightStreamHeader) {
  const struct {
    ByteVector payload;
    std::uint32_t sampleRate;
    std::uint32_t channels;
    std::uint64_t samples;
  } cases[] = {
      {streamHeader(44100, 0, 0, 2), 44100, 2, 44100},
      {streamHeader(1000, 100, 1, 1), 48000, 1, 900},
      {streamHeader(1u << 30, 0, 2, 16), 37800, 16, 1u << 30},
      // Reserved rate indexes give no rate; all silence gives no samples.
      {streamHeader(1000, 0, 3, 6), 32000, 6, 1000},
      {streamHeader(1000, 0, 4, 6), 0, 6, 1000},
      {streamHeader(1000, 1000, 0, 2), 44100, 2, 0},
      {streamHeader(1000, 999, 0, 2), 44100, 2, 1},
  };
  for (const auto& c : cases) {
    const auto stream = parseMusepackStreamHeader(c.payload);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->sampleRate, c.sampleRate);
    EXPECT_EQ(stream->channels, c.channels);
    EXPECT_EQ(stream->samples, c.samples);
  }
  ByteVector header = streamHeader(44100);
  header[4] = 7;
  EXPECT_FALSE(parseMusepackStreamHeader(header));
  header = streamHeader(44100);
  EXPECT_TRUE(parseMusepackStreamHeader(header));
  header.pop_back();
  EXPECT_FALSE(parseMusepackStreamHeader(header));
}

TEST(MPCRealFiles, ApeFrontCoverIsTheCover) {
  for (const auto wanted : {CoverBytes::Kept, CoverBytes::SizeOnly}) {
    MPCInfo info;
    info.setCoverBytes(wanted);
    EXPECT_EQ(info.readFile(fixturePath("formats/apev2_front_cover.mpc")), ReadResult::Read);
    EXPECT_EQ(info.getTitle(), u"Mpc Fixture");
    ASSERT_TRUE(info.hasCover());
    // mutagen-inspect: 235 bytes, of which "cover.jpg" and its NUL are the name.
    EXPECT_EQ(info.getCoverSize(), 225u);
    const auto* cover = info.getCoverData();
    EXPECT_EQ(cover != nullptr, wanted == CoverBytes::Kept);
    if (!cover) continue;
    EXPECT_EQ((*cover)[0], 0xFF);
    EXPECT_EQ((*cover)[1], 0xD8);
  }
}

TEST(MusepackHeader, VersionSevenSampleRatesAndFrameCount) {
  const std::uint32_t rates[] = {44100, 48000, 37800, 32000};
  for (std::uint8_t index = 0; index < 4; ++index) {
    const auto parsed = parseMusepackHeader(musepackHeader(7, 9000, index | 0xFC));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sampleRate, rates[index]);
    EXPECT_EQ(parsed->channels, 2u);
    EXPECT_EQ(parsed->frames, 9000u);
  }
  // SV7.1 keeps its minor version in the high four bits.
  EXPECT_EQ(parseMusepackHeader(musepackHeader(0x17, 1, 1))->sampleRate, 48000u);
  EXPECT_FALSE(parseMusepackHeader(bytesOf("MPCK")));
  ByteVector shortHeader = musepackHeader(7, 1);
  shortHeader.pop_back();
  EXPECT_FALSE(parseMusepackHeader(shortHeader));
}

TEST(MusepackHeader, OtherVersions) {
  const auto eight = parseMusepackHeader(musepackHeader(8, 9000, 1));
  EXPECT_EQ(eight->frames, 0u);
  EXPECT_EQ(eight->sampleRate, 44100u);
  EXPECT_FALSE(eight->channels);
  EXPECT_EQ(musepackKilobits(*eight, 5000000), 0u);
  // Below version 5 the frame count has 16 bits.
  EXPECT_EQ(parseMusepackHeader(musepackHeader(4, 0x12345))->frames, 0x2345u);
  const auto six = parseMusepackHeader(musepackHeader(6, 0x12345, 1));
  EXPECT_EQ(six->frames, 0x12345u);
  EXPECT_EQ(six->sampleRate, 44100u);
  EXPECT_EQ(six->channels, 2u);
}

TEST(MusepackHeader, KilobitsInDoublePrecision) {
  // 5,000,000 bytes, 44100 Hz, 9000 frames (10,367,424 samples): 170 kbit/s.
  EXPECT_EQ(musepackKilobits(*parseMusepackHeader(musepackHeader(7, 9000)), 5000000), 170u);
  // One frame in a huge file saturates instead of wrapping.
  EXPECT_EQ(musepackKilobits(*parseMusepackHeader(musepackHeader(7, 1)), 1ull << 40),
            0xFFFFFFFFu / 1024);
}

TEST_F(MPCFile, StreamValuesAfterAnId3v2Tag) {
  ByteVector bytes = concat({id3v2Tag(3, {}, 100), stream(7, 9000, 2)});
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getSampleRate(), u"37800");
  EXPECT_EQ(info_.getStereoMode(), u"2");
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getPresentTags(), u"None");

  // A version 2.2 tag is stepped over alike; version 5 is no tag.
  for (const std::uint8_t version : {2, 5}) {
    MPCInfo other;
    const std::u16string path = dir_.file("other.mpc");
    ByteVector changed = bytes;
    changed[3] = version;
    ASSERT_TRUE(writeWholeFile(path, changed));
    EXPECT_EQ(other.readFile(path), ReadResult::Read);
    EXPECT_EQ(other.getSampleRate(), version == 2 ? u"37800" : u"Unknown");
  }
}

TEST_F(MPCFile, BitRateOverTheAudioBytes) {
  ByteVector bytes = stream(7, 9000);
  bytes.resize(5000000, 0);
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"170");
  const auto eight = readAnother(stream(8, 9000), "sv8.mpc");
  EXPECT_EQ(eight->getBitrate(), u"Unknown");
  EXPECT_EQ(eight->getStereoMode(), u"Unknown");
  EXPECT_EQ(eight->getSampleRate(), u"44100");
}

TEST_F(MPCFile, VersionEightBitRateCountsTheAudioAlone) {
  ID3v1Fields fields;
  fields.title = "v1";
  const ByteVector ape =
      apeTag({apeItem("Title", "ape"), apeItem("Comment", std::string(3000, 'c'))});
  const ByteVector v1 = id3v1Block(fields);
  const ByteVector stream = sv8Stream();
  const ByteVector cases[] = {
      sv8Stream(),
      concat({sv8Stream(), ape}),
      concat({sv8Stream(), v1}),
      concat({sv8Stream(), ape, v1}),
      concat({id3v2Tag(3, {}, 500), sv8Stream(), ape}),
      // The header packets may come in any order; unknown ones are stepped over.
      concat({bytesOf("MPCK"), packet("EI", ByteVector(4, 0)), packet("XY", ByteVector(300, 1)),
              ByteVector(stream.begin() + 4, stream.end())}),
  };
  for (const auto& bytes : cases) {
    const auto info = readAnother(bytes, "sv8.mpc");
    EXPECT_EQ(lastResult_, ReadResult::Read);
    EXPECT_EQ(info->getBitrate(), u"160") << bytes.size();
    EXPECT_EQ(info->getSampleRate(), u"44100");
    EXPECT_EQ(info->getStereoMode(), u"2");
  }
  // A stream cut inside its audio counts the audio that is there.
  ByteVector cut = sv8Stream();
  cut.resize(cut.size() - 10000);
  EXPECT_EQ(read(cut), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"80");
}

TEST_F(MPCFile, VersionEightWalkEndsWithoutAudio) {
  const ByteVector filler = packet("XX", {});
  ByteVector fillers;
  for (int i = 0; i < 997; ++i) fillers = concat({fillers, filler});
  ByteVector runsPastTheEnd = packet("EI", ByteVector(100, 0));
  runsPastTheEnd[2] = 0x7F;
  runsPastTheEnd.resize(50);
  const struct {
    ByteVector bytes;
    const char16_t* bitrate;
    const char16_t* sampleRate;
  } cases[] = {
      // A thousand packets are looked at for the first audio packet: the
      // stream header, the replay gain, 997 more, then the audio.
      {sv8Stream(fillers), u"160", u"44100"},
      {sv8Stream(concat({fillers, filler})), u"Unknown", u"44100"},
      {concat({bytesOf("MPCK"), packet("SH", streamHeader(44100)), runsPastTheEnd}), u"Unknown",
       u"44100"},
      {concat({bytesOf("MPCK"), packet("SH", streamHeader(44100)), packet("SE", {}),
               packet("AP", ByteVector(100, 0))}),
       u"Unknown", u"44100"},
      {concat({bytesOf("MPCK"), packet("SH", streamHeader(44100)), bytesOf("ap\x05xxAP\x05xx")}),
       u"Unknown", u"44100"},
      // No stream header before the audio, or one of another version.
      {concat(
           {bytesOf("MPCK"), packet("AP", ByteVector(100, 0)), packet("SH", streamHeader(44100))}),
       u"Unknown", u"Unknown"},
      {sv8Stream({}, concat({be32(0), ByteVector{9}, ByteVector(10, 0)})), u"Unknown", u"Unknown"},
      {bytesOf("MPCK"), u"Unknown", u"Unknown"},
  };
  for (const auto& c : cases) {
    const auto info = readAnother(c.bytes, "sv8.mpc");
    EXPECT_EQ(lastResult_, ReadResult::Read);
    EXPECT_EQ(info->getBitrate(), c.bitrate) << c.bytes.size();
    EXPECT_EQ(info->getSampleRate(), c.sampleRate) << c.bytes.size();
  }
}

TEST_F(MPCFile, ApeAnswersBeforeId3v1AndBothAreListed) {
  ID3v1Fields fields;
  fields.title = "v1 title";
  fields.comment = "v1 comment";
  fields.track = 4;
  fields.genre = 17;
  const ByteVector ape = apeTag({apeItem("Title", "ape title"), apeItem("Lyrics", "la la")});
  EXPECT_EQ(read(concat({stream(7, 100), ape, id3v1Block(fields)})), ReadResult::Read);
  EXPECT_EQ(info_.getPresentTags(), u"ID3v1,APEv2");
  EXPECT_EQ(info_.getTitle(), u"ape title");
  EXPECT_EQ(info_.getArtist(), u"Unknown");
  // The APEv2 tag has no comment, so the ID3v1 comment answers.
  EXPECT_TRUE(info_.hasComment());
  EXPECT_EQ(std::u16string(*info_.getComment()->line(0)).substr(0, 10), u"v1 comment");
  ASSERT_TRUE(info_.hasLyrics());
  EXPECT_EQ(*info_.getLyrics()->line(0), u"la la");
}

TEST_F(MPCFile, Id3v1AloneOrApeAtTheVeryEnd) {
  ID3v1Fields fields;
  fields.title = "only v1";
  fields.year = "1998";
  fields.track = 9;
  fields.genre = 17;
  EXPECT_EQ(read(concat({stream(7, 100), id3v1Block(fields)})), ReadResult::Read);
  EXPECT_EQ(info_.getPresentTags(), u"ID3v1");
  EXPECT_EQ(info_.getTitle(), u"only v1");
  EXPECT_EQ(info_.getYear(), u"1998");
  EXPECT_EQ(info_.getGenre(), u"Rock");
  EXPECT_EQ(info_.getTrackNumber(), u"9");
  EXPECT_FALSE(info_.hasLyrics());
  EXPECT_EQ(info_.getLyrics(), nullptr);

  const auto apeOnly = readAnother(
      concat({stream(7, 100), apeTag({apeItem("Artist", "A"), apeItem("Year", "2003-11-02")})}),
      "ape.mpc");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_EQ(apeOnly->getPresentTags(), u"APEv2");
  EXPECT_EQ(apeOnly->getArtist(), u"A");
  EXPECT_EQ(apeOnly->getYear(), u"2003");
  EXPECT_FALSE(apeOnly->hasComment());
  EXPECT_EQ(apeOnly->getComment(), nullptr);
}

TEST_F(MPCFile, UnopenableOrForeignFile) {
  EXPECT_EQ(info_.readFile(dir_.file("missing.mpc")), ReadResult::NotOpened);
  EXPECT_EQ(info_.getTitle(), u"Unknown");
  const auto foreign =
      readAnother(bytesOf("this is no musepack file, but text of some length"), "foreign.mpc");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_FALSE(foreign->hasTag());
  EXPECT_EQ(foreign->getBitrate(), u"Unknown");
}

}  // namespace
}  // namespace tunora
