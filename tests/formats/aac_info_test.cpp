#include "formats/aac_info.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/stream_cases.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::apeItem;
using testing::apeTag;
using testing::bytesOf;
using testing::ByteVector;
using testing::concat;
using testing::fixturePath;
using testing::id3v2Frame;
using testing::id3v2Tag;
using testing::textBody;

// An ADTS header: MPEG-4 unless `mpeg2`, low-complexity profile.
ByteVector adts(std::uint8_t samplingIndex, std::uint8_t channels, bool mpeg2 = false) {
  return {0xFF,
          static_cast<std::uint8_t>(mpeg2 ? 0xF9 : 0xF1),
          static_cast<std::uint8_t>(1 << 6 | samplingIndex << 2 | channels >> 2),
          static_cast<std::uint8_t>((channels & 3) << 6),
          0,
          0,
          0};
}

class AACInfoFile : public ::testing::Test {
 protected:
  AACInfo& read(const ByteVector& contents) {
    info_ = std::make_unique<AACInfo>();
    const auto path = dir_.file("t.aac");
    EXPECT_TRUE(writeWholeFile(path, contents));
    EXPECT_EQ(info_->readFile(path), ReadResult::Read);
    return *info_;
  }
  testing::TempDir dir_;
  std::unique_ptr<AACInfo> info_;
  const ByteVector stream_ = ByteVector(200, 0x21);
};

// Stream values of files written by ffmpeg, as ffprobe reads them (its bit
// rate in kbit/s, rounded down: 60536 and 49183 bit/s).
TEST(AACInfo, AdtsEncoderFiles) {
  const testing::StreamCase cases[] = {
      {"tags/adts_id3v2.aac", u"60", u"44100", u"2"},
      {"mpeg/adts_48k_22050_mono.aac", u"49", u"22050", u"1"},
  };
  testing::expectStreamValues<AACInfo>(cases);
  AACInfo tagged;
  tagged.readFile(fixturePath("tags/adts_id3v2.aac"));
  EXPECT_EQ(tagged.getTitle(), u"AAC Title");
  EXPECT_EQ(tagged.getArtist(), u"AAC Artist");
  EXPECT_EQ(tagged.getPresentTags(), u"ID3v2");
}

TEST(AACInfo, ConstantRateAdif) {
  AACInfo info;
  ASSERT_EQ(info.readFile(fixturePath("tags/adif_cbr.aac")), ReadResult::Read);
  // 128000 bit/s shows as 125 (divided by 1024); one front and one LFE element.
  EXPECT_EQ(info.getBitrate(), u"125");
  EXPECT_EQ(info.getSampleRate(), u"44100");
  EXPECT_EQ(info.getStereoMode(), u"3");
  EXPECT_EQ(info.getPresentTags(), u"None");
}

TEST_F(AACInfoFile, AdtsFields) {
  EXPECT_EQ(read(concat({adts(4, 7), stream_})).getStereoMode(), u"7");
  EXPECT_EQ(read(concat({adts(3, 1, true), stream_})).getSampleRate(), u"48000");
  EXPECT_EQ(read(concat({adts(13, 0), stream_})).getSampleRate(), u"Unknown");
  EXPECT_EQ(info_->getStereoMode(), u"Unknown");
  // The header must start right at the stream start.
  EXPECT_EQ(read(concat({{0}, adts(4, 2), stream_})).getSampleRate(), u"Unknown");
  // Fewer than 51 bytes from the stream start: no header is read.
  EXPECT_EQ(read(concat({adts(4, 2), ByteVector(43, 0)})).getSampleRate(), u"Unknown");
  EXPECT_EQ(read(concat({adts(4, 2), ByteVector(44, 0)})).getSampleRate(), u"44100");
}

// ADTS frames at 44100 Hz (stereo) of these lengths, each holding `blocks`
// raw data blocks of 1024 samples.
ByteVector adtsFrames(std::initializer_list<std::uint16_t> lengths, std::uint8_t blocks = 1) {
  ByteVector out;
  for (const std::uint16_t length : lengths) {
    auto frame = adts(4, 2);
    frame[3] |= static_cast<std::uint8_t>(length >> 11);
    frame[4] = static_cast<std::uint8_t>(length >> 3);
    frame[5] = static_cast<std::uint8_t>((length & 7) << 5 | 0x1F);
    frame[6] = static_cast<std::uint8_t>(0xFC | (blocks - 1));
    frame.resize(std::max<std::size_t>(length, frame.size()), 0x21);
    out.insert(out.end(), frame.begin(), frame.end());
  }
  return out;
}

TEST_F(AACInfoFile, AdtsRateIsTheMeanOfTheFirstFrames) {
  const auto cut = [](ByteVector bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
  };
  const auto repeated = [](std::uint16_t length, int count) {
    ByteVector out;
    for (int i = 0; i < count; ++i) out = concat({out, adtsFrames({length})});
    return out;
  };
  struct Case {
    ByteVector stream;
    const char16_t* bitrate;
  };
  // 400 bytes a frame of 1024 samples at 44100 Hz: 137,812 bit/s.
  const Case cases[] = {
      {adtsFrames({400, 400, 400, 400}), u"137"},
      {adtsFrames({200, 600, 200, 600}), u"137"},
      {adtsFrames({800, 800}, 2), u"137"},
      // Counting stops at a frame the file holds only in part, or at bytes
      // that are no frame.
      {concat({adtsFrames({400, 400, 400}), adtsFrames({1000})}), u"189"},
      {concat({adtsFrames({400, 400, 400}), cut(adtsFrames({1000}), 999)}), u"137"},
      {concat({adtsFrames({400, 400, 400}), ByteVector(300, 0)}), u"137"},
      // 64 frames count: the 65th does not.
      {concat({repeated(400, 64), adtsFrames({2000})}), u"137"},
      {concat({repeated(400, 63), adtsFrames({2000})}), u"146"},
      // The shortest frame is its 7-byte header; a shorter length ends it all.
      {concat({adtsFrames({7}), ByteVector(60, 0)}), u"2"},
      {concat({adtsFrames({6}), ByteVector(60, 0)}), u"Unknown"},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.stream).getBitrate(), c.bitrate) << c.stream.size();
}

TEST_F(AACInfoFile, WarningWhenNeitherTagNorHeaderIsFound) {
  EXPECT_EQ(read({}).getReadWarning(), "no ADTS or ADIF header found");
  EXPECT_EQ(read(ByteVector(200, 0x21)).getReadWarning(), "no ADTS or ADIF header found");
  EXPECT_EQ(read(concat({adts(4, 2), stream_})).getReadWarning(), "");
  EXPECT_EQ(read(concat({stream_, testing::id3v1Block({.title = "t"})})).getReadWarning(), "");
}

TEST_F(AACInfoFile, AdifVariants) {
  // The header of the fixture, as bits: constant rate, then a variable-rate
  // one and one with the copyright identifier.
  const auto adif = [](bool variable, bool copyright) {
    std::string bits = copyright ? "1" + std::string(72, '0') : "0";
    bits += "00";
    bits += variable ? "1" : "0";
    for (int bit = 22; bit >= 0; --bit) bits += (128000 >> bit & 1) ? '1' : '0';
    bits += "0000";
    if (!variable) bits += std::string(20, '0');
    bits +=
        "0000"
        "01"
        "0011"
        "0010"
        "0001"
        "0000"
        "00";  // 48000 Hz, 2 front, 1 side
    bits += std::string((8 - bits.size() % 8) % 8, '0');
    ByteVector out = bytesOf("ADIF");
    for (std::size_t i = 0; i < bits.size(); i += 8)
      out.push_back(static_cast<std::uint8_t>(std::stoi(bits.substr(i, 8), nullptr, 2)));
    return out;
  };
  auto& constant = read(concat({adif(false, false), stream_}));
  EXPECT_EQ(constant.getBitrate(), u"125");
  EXPECT_EQ(constant.getSampleRate(), u"48000");
  EXPECT_EQ(constant.getStereoMode(), u"6");
  auto& variable = read(concat({adif(true, false), stream_}));
  EXPECT_EQ(variable.getBitrate(), u"Unknown");
  EXPECT_EQ(variable.getStereoMode(), u"6");
  auto& copyright = read(concat({adif(false, true), stream_}));
  EXPECT_EQ(copyright.getBitrate(), u"125");
  EXPECT_EQ(copyright.getSampleRate(), u"48000");
}

TEST_F(AACInfoFile, APEv2AnswersFirst) {
  const auto id3v2 = id3v2Tag(
      3, concat({id3v2Frame(3, "TPE1", textBody(0, bytesOf("v2 artist"))),
                 id3v2Frame(3, "USLT", concat({{0}, bytesOf("eng"), {0}, bytesOf("v2 words")}))}));
  const auto ape = apeTag({apeItem("Artist", "ape artist")});
  const auto v1 = testing::id3v1Block({.title = "v1 title", .artist = "v1 artist"});
  auto& all = read(concat({id3v2, adts(4, 2), stream_, ape, v1}));
  EXPECT_EQ(all.getArtist(), u"ape artist");
  EXPECT_EQ(all.getTitle(), u"Unknown");
  EXPECT_EQ(all.getPresentTags(), u"ID3v1,ID3v2,APEv2");
  EXPECT_EQ(all.getSampleRate(), u"44100");
  // APEv2 has no lyrics here, so the ID3v2 lyrics answer.
  ASSERT_NE(all.getLyrics(), nullptr);
  EXPECT_EQ(all.getLyrics()->line(0), u"v2 words");

  auto& noApe = read(concat({id3v2, adts(4, 2), stream_, v1}));
  EXPECT_EQ(noApe.getArtist(), u"v2 artist");
  EXPECT_EQ(noApe.getPresentTags(), u"ID3v1,ID3v2");
}

TEST_F(AACInfoFile, NoLyrics3Step) {
  const auto lyrics3 = testing::lyrics3Block({testing::lyrics3Field("LYR", "words")});
  auto& info = read(concat({adts(4, 2), stream_, lyrics3}));
  EXPECT_FALSE(info.hasLyrics());
  EXPECT_EQ(info.getPresentTags(), u"None");
}

}  // namespace
}  // namespace tunora
