#include "tags/aac_info.h"

#include <gtest/gtest.h>

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

TEST(AACInfo, AdtsFileBehindID3v2) {
  AACInfo info;
  ASSERT_EQ(info.readFile(fixturePath("tags/adts_id3v2.aac")), ReadResult::Read);
  EXPECT_EQ(info.getSampleRate(), u"44100");
  EXPECT_EQ(info.getStereoMode(), u"2");
  EXPECT_EQ(info.getBitrate(), u"Unknown");
  EXPECT_EQ(info.getTitle(), u"AAC Title");
  EXPECT_EQ(info.getArtist(), u"AAC Artist");
  EXPECT_EQ(info.getPresentTags(), u"ID3v2");
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
