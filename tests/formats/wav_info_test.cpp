#include "formats/wav_info.h"

#include <gtest/gtest.h>

#include <string>

#include "support/format_bytes.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using WavFile = TrackFileTest<WAVInfo>;

ByteVector pcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  const auto align = static_cast<std::uint16_t>(channels * bits / 8);
  return riffChunk("fmt ", waveFormat(1, channels, rate, rate * align, align, bits));
}

// WAVE_FORMAT_EXTENSIBLE whose sub-format GUID starts with `subFormat`.
ByteVector extensibleFormat(std::uint16_t subFormat) {
  return riffChunk("fmt ", concat({waveFormat(0xFFFE, 2, 48000, 288000, 6, 24), le16(22), le16(24),
                                   le32(3), le16(subFormat), ByteVector(14, 0)}));
}

TEST_F(WavFile, StreamValuesByFormat) {
  const struct {
    const char* name;
    ByteVector file;
    const char16_t* bitrate;
    const char16_t* rate;
    const char16_t* channels;
    std::optional<std::uint64_t> milliseconds;
  } cases[] = {
      {"pcm", wavFile({pcmFormat(2, 44100, 16), riffChunk("data", ByteVector(176400))}), u"1411",
       u"44100", u"2", 1000},
      // Whole blocks only: one byte short of 1000 blocks is 999 of them.
      {"pcm partial block", wavFile({pcmFormat(1, 1000, 16), riffChunk("data", ByteVector(1999))}),
       u"16", u"1000", u"1", 999},
      {"pcm whole blocks", wavFile({pcmFormat(1, 1000, 16), riffChunk("data", ByteVector(2000))}),
       u"16", u"1000", u"1", 1000},
      {"extensible pcm", wavFile({extensibleFormat(1), riffChunk("data", ByteVector(28800))}),
       u"2304", u"48000", u"2", 100},
      // An MP3 stream: the header's average byte rate counts, not the bits.
      {"compressed",
       wavFile({riffChunk("fmt ", waveFormat(0x55, 2, 44100, 16000, 1, 0)),
                riffChunk("data", ByteVector(8000))}),
       u"128", u"44100", u"2", 500},
      {"compressed with fact",
       wavFile({riffChunk("fmt ", waveFormat(0x11, 1, 8000, 4055, 256, 4)),
                riffChunk("fact", le32(4000)), riffChunk("data", ByteVector(2048))}),
       u"32", u"8000", u"1", 500},
      {"no block size",
       wavFile({riffChunk("fmt ", waveFormat(1, 1, 8000, 16000, 0, 16)),
                riffChunk("data", ByteVector(16))}),
       u"128", u"8000", u"1", std::nullopt},
      {"no data chunk", wavFile({pcmFormat(1, 8000, 8)}), u"64", u"8000", u"1", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto track = readAnother(c.file, c.name);
    EXPECT_EQ(lastResult_, ReadResult::Read);
    EXPECT_EQ(track->getBitrate(), c.bitrate);
    EXPECT_EQ(track->getSampleRate(), c.rate);
    EXPECT_EQ(track->getStereoMode(), c.channels);
    EXPECT_EQ(track->toTrack().stream.milliseconds, c.milliseconds);
  }
}

TEST_F(WavFile, DataSizeBeyondTheFileCountsWhatIsThere) {
  // A stream written without going back to fix the size, then cut off.
  const ByteVector file = concat(
      {wavFile({pcmFormat(1, 8000, 16)}), bytesOf("data"), le32(0xFFFFFFFF), ByteVector(4000)});
  EXPECT_EQ(read(file), ReadResult::Read);
  EXPECT_EQ(info_.toTrack().stream.milliseconds, 250u);
}

TEST_F(WavFile, Rf64TakesTheDataSizeFromDs64AndReadsChunksBehindIt) {
  const ByteVector ds64 = riffChunk("ds64", concat({le64(0), le64(16000), le64(8000), le32(0)}));
  const ByteVector file =
      concat({bytesOf("RF64"), le32(0xFFFFFFFF), bytesOf("WAVE"), ds64, pcmFormat(1, 8000, 16),
              bytesOf("data"), le32(0xFFFFFFFF), ByteVector(16000),
              riffChunk("LIST", concat({bytesOf("INFO"), riffChunk("INAM", bytesOf("After"))}))});
  EXPECT_EQ(read(file), ReadResult::Read);
  EXPECT_EQ(info_.toTrack().stream.milliseconds, 1000u);
  EXPECT_EQ(info_.getTitle(), u"After");
  EXPECT_EQ(info_.getPresentTags(), u"RIFF-INFO");
}

ByteVector infoList(std::initializer_list<ByteVector> items) {
  return riffChunk("LIST", concat({bytesOf("INFO"), concat(items)}));
}

TEST_F(WavFile, InfoItemsNameTheTrack) {
  const ByteVector file = wavFile(
      {pcmFormat(1, 8000, 16),
       infoList({riffChunk("INAM", bytesOf("Odd")), riffChunk("IART", bytesOf("Artist")),
                 riffChunk("IPRD", bytesOf("Album")), riffChunk("ICRD", bytesOf("2004-05-01")),
                 riffChunk("IGNR", bytesOf("Ambient")), riffChunk("ITRK", bytesOf("7")),
                 riffChunk("ICMT", bytesOf("Caf\xE9")), riffChunk("ISFT", bytesOf("Lavf"))}),
       riffChunk("data", ByteVector(2))});
  EXPECT_EQ(read(file), ReadResult::Read);
  EXPECT_TRUE(info_.hasTag());
  EXPECT_EQ(info_.getTitle(), u"Odd");
  EXPECT_EQ(info_.getArtist(), u"Artist");
  EXPECT_EQ(info_.getAlbum(), u"Album");
  EXPECT_EQ(info_.getYear(), u"2004");
  EXPECT_EQ(info_.getGenre(), u"Ambient");
  EXPECT_EQ(info_.getTrackNumber(), u"7");
  // Not UTF-8: read as Latin-1.
  ASSERT_TRUE(info_.hasComment());
  EXPECT_EQ(*info_.getComment()->line(0), u"Caf\u00E9");
}

// UTF-8 only when all of the text is; any byte that breaks it makes the whole
// text Latin-1, as older taggers wrote it.
TEST_F(WavFile, InfoTextIsUtf8OnlyWhenAllOfItIs) {
  const struct {
    const char* bytes;
    std::u16string_view title;
  } cases[] = {
      {"Caf\xC3\xA9", u"Caf\u00E9"},
      {"\xA9 1999", u"\u00A9 1999"},
      {"\xC3\xA9t\xE9", u"\u00C3\u00A9t\u00E9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    const ByteVector file =
        wavFile({pcmFormat(1, 8000, 16), infoList({riffChunk("INAM", bytesOf(c.bytes))}),
                 riffChunk("data", ByteVector(2))});
    EXPECT_EQ(readAnother(file, "text")->getTitle(), c.title);
  }
}

TEST_F(WavFile, Id3v2WinsFieldByField) {
  const ByteVector id3 = id3v2Tag(3, concat({id3v2Frame(3, "TIT2", textBody(0, bytesOf("Id3"))),
                                             id3v2Frame(3, "TYER", textBody(0, bytesOf("1999")))}));
  for (const char* id : {"id3 ", "ID3 "}) {
    SCOPED_TRACE(id);
    const ByteVector file = wavFile(
        {pcmFormat(1, 8000, 16),
         infoList({riffChunk("INAM", bytesOf("Info")), riffChunk("IART", bytesOf("Info Artist"))}),
         riffChunk("data", ByteVector(2)), riffChunk(id, id3)});
    auto track = readAnother(file, id);
    EXPECT_EQ(track->getTitle(), u"Id3");
    EXPECT_EQ(track->getYear(), u"1999");
    EXPECT_EQ(track->getArtist(), u"Info Artist");
    EXPECT_EQ(track->getPresentTags(), u"RIFF-INFO,ID3v2");
  }
}

TEST_F(WavFile, TagChunkIsReadOnlyWhenTheFileHoldsAllOfIt) {
  const ByteVector list = infoList({riffChunk("INAM", bytesOf("Whole"))});
  const ByteVector whole = wavFile({pcmFormat(1, 8000, 16), list});
  const ByteVector cut(whole.begin(), whole.end() - 1);
  EXPECT_EQ(readAnother(whole, "whole")->getTitle(), u"Whole");
  EXPECT_EQ(readAnother(cut, "cut")->getTitle(), u"Unknown");
}

TEST_F(WavFile, WalkStopsAfterAsManyChunksAsNoFileHas) {
  for (const int junk : {4095, 4096}) {
    SCOPED_TRACE(junk);
    ByteVector file = concat({bytesOf("RIFF"), le32(0), bytesOf("WAVE")});
    const ByteVector empty = riffChunk("junk", {});
    for (int i = 0; i < junk; ++i) file.insert(file.end(), empty.begin(), empty.end());
    const ByteVector format = pcmFormat(1, 8000, 16);
    file.insert(file.end(), format.begin(), format.end());
    auto track = readAnother(file, "junk" + std::to_string(junk));
    EXPECT_EQ(track->getSampleRate(), junk == 4095 ? u"8000" : u"Unknown");
  }
}

TEST_F(WavFile, OtherFilesAreNotRecognised) {
  const ByteVector format = pcmFormat(1, 8000, 16);
  const struct {
    const char* name;
    ByteVector file;
  } cases[] = {
      {"big-endian RIFX", concat({bytesOf("RIFX"), le32(28), bytesOf("WAVE"), format})},
      {"AVI", concat({bytesOf("RIFF"), le32(28), bytesOf("AVI "), format})},
      {"eleven bytes", ByteVector{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto track = readAnother(c.file, c.name);
    EXPECT_EQ(lastResult_, ReadResult::NotRecognised);
    EXPECT_EQ(track->getSampleRate(), u"Unknown");
  }
}

TEST_F(WavFile, NoFormatChunkWarns) {
  EXPECT_EQ(read(wavFile({riffChunk("data", ByteVector(100))})), ReadResult::Read);
  EXPECT_EQ(info_.getReadWarning(), "no fmt chunk found");
  EXPECT_EQ(info_.getBitrate(), u"Unknown");
  EXPECT_EQ(info_.getPresentTags(), u"None");
}

}  // namespace
}  // namespace tunora
