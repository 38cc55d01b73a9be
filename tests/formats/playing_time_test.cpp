// The playing time of every reader, and the album artist, disc and composer
// texts as encoders and taggers write them. The times of the real files are
// mutagen's, to the millisecond.
#include "formats/playing_time.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "formats/aac_info.h"
#include "formats/flac_info.h"
#include "formats/mp3_info.h"
#include "formats/mp4_info.h"
#include "formats/mpc_info.h"
#include "formats/ogg_info.h"
#include "io/file.h"
#include "support/format_bytes.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using namespace testing;

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(PlayingTime, UnitsOverTheirRateRoundToTheNearestMillisecond) {
  const struct {
    std::uint64_t units, perSecond, milliseconds;
  } cases[] = {
      {44100, 44100, 1000},
      {0, 44100, 0},
      {44100, 0, 0},
      // 22.5 ms of samples round up, 22.4 down.
      {9, 400, 23},
      {8, 400, 20},
      {1, 2001, 0},
      {1, 2000, 1},
      // Counts from a file can be anything: the result saturates.
      {kMax, 1, kMax},
      {kMax / 1000, 1, kMax / 1000 * 1000},
      {kMax / 1000 + 1, 1, kMax},
      {kMax, kMax, 1000},
      {kMax - 1, kMax, 1000},
  };
  for (const auto& c : cases)
    EXPECT_EQ(millisecondsOf(c.units, c.perSecond), c.milliseconds)
        << c.units << "/" << c.perSecond;
}

TEST(PlayingTime, BytesOverABitRate) {
  const struct {
    std::uint64_t bytes;
    double bitsPerSecond;
    std::uint64_t milliseconds;
  } cases[] = {
      {16000, 128000, 1000}, {2716, 64000, 340}, {2715, 64000, 339}, {100, 0, 0},
      {100, -1, 0},          {kMax, 1, kMax},    {1, 1e-300, kMax},  {0, 128000, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(millisecondsOfBytes(c.bytes, c.bitsPerSecond), c.milliseconds) << c.bytes;
}

std::optional<std::uint64_t> millisecondsOfFile(TrackInfo& info, const std::u16string& path) {
  EXPECT_EQ(info.readFile(path), ReadResult::Read);
  return info.toTrack().stream.milliseconds;
}

std::unique_ptr<TrackInfo> readerFor(const std::string& file) {
  if (file.ends_with(".mp3")) return std::make_unique<MP3Info>();
  if (file.ends_with(".aac")) return std::make_unique<AACInfo>();
  if (file.ends_with(".m4a")) return std::make_unique<MP4Info>();
  if (file.ends_with(".ogg")) return std::make_unique<OGGInfo>();
  if (file.ends_with(".flac")) return std::make_unique<FLACInfo>();
  return std::make_unique<MPCInfo>();
}

TEST(PlayingTimeOfRealFiles, AgreesWithMutagen) {
  const struct {
    const char* file;
    std::uint64_t milliseconds;
  } cases[] = {
      // LAME's tag: its encoder delay and padding are not played.
      {"tags/vbr_id3v24_cover.mp3", 300},
      {"tags/cbr128_id3v23.mp3", 300},
      {"tags/mpeg2.mp3", 300},
      {"tags/mono_back_cover.mp3", 300},
      // An Info header written by ffmpeg, which has no LAME tag.
      {"formats/ffmpeg_album_artist_disc_composer.mp3", 340},
      // No Info header: the audio's size at the frame's rate.
      {"formats/mutagen_v23_no_info_frame.mp3", 340},
      {"tags/id3v22_itunes.mp3", 235},
      // The same stream with an APEv2 tag and its cover at the end: mutagen
      // and ffprobe count the tag as audio (322 ms), here it is left out.
      {"tags/apev2_front_cover.mp3", 235},
      {"tags/adts_id3v2.aac", 325},
      // mutagen starts the audio behind the program configuration (31.7 ms);
      // here the header's few bytes count along.
      {"tags/adif_cbr.aac", 33},
      // The media header's duration, the encoder's priming samples included.
      {"formats/aac_tags_cover.m4a", 1023},
      {"formats/aac_six_channels.m4a", 271},
      {"formats/ffmpeg_album_artist_disc_composer.m4a", 323},
      {"formats/vorbis_tags.ogg", 1000},
      {"formats/ffmpeg_album_artist_disc_composer.ogg", 300},
      {"formats/flac_picture_tags.flac", 1000},
      {"formats/ffmpeg_album_artist_disc_composer.flac", 300},
      {"formats/mpcenc_apev2.mpc", 1000},
      {"formats/mpcenc_sv8_mono_32000.mpc", 500},
      {"formats/mutagen_apev2_disc_composer.mpc", 300},
  };
  for (const auto& c : cases) {
    const auto reader = readerFor(c.file);
    EXPECT_EQ(millisecondsOfFile(*reader, fixturePath(c.file)), c.milliseconds) << c.file;
  }
}

TEST(AlbumFieldsOfRealFiles, AsEncodersAndTaggersWriteThem) {
  const struct {
    const char* file;
    std::u16string_view albumArtist, disc, composer;
  } cases[] = {
      {"formats/ffmpeg_album_artist_disc_composer.mp3", u"Album Artist", u"1/2", u"Com Poser"},
      {"formats/ffmpeg_album_artist_disc_composer.m4a", u"Album Artist", u"1/2", u"Com Poser"},
      {"formats/ffmpeg_album_artist_disc_composer.flac", u"Album Artist", u"1/2", u"Com Poser"},
      {"formats/ffmpeg_album_artist_disc_composer.ogg", u"Album Artist", u"1/2", u"Com Poser"},
      {"formats/mutagen_v23_no_info_frame.mp3", u"Album Artist", u"2/2", u"Com Poser"},
      {"formats/mutagen_spaced_album_artist.ogg", u"Album Artist", u"1",
       u"Com Poser; Second Composer"},
      {"formats/mutagen_apev2_disc_composer.mpc", u"Album Artist", u"3", u"Com Poser"},
  };
  for (const auto& c : cases) {
    const auto reader = readerFor(c.file);
    ASSERT_EQ(reader->readFile(fixturePath(c.file)), ReadResult::Read) << c.file;
    const Track track = reader->toTrack();
    EXPECT_EQ(track.albumArtist, std::u16string(c.albumArtist)) << c.file;
    EXPECT_EQ(track.discNumber, std::u16string(c.disc)) << c.file;
    EXPECT_EQ(track.composer, std::u16string(c.composer)) << c.file;
  }
  // A file without the fields leaves them unknown.
  MP3Info plain;
  ASSERT_EQ(plain.readFile(fixturePath("tags/cbr128_id3v23.mp3")), ReadResult::Read);
  const Track track = plain.toTrack();
  EXPECT_FALSE(track.albumArtist || track.discNumber || track.composer);
}

class PlayingTimeFile : public ::testing::Test {
 protected:
  template <typename Reader>
  std::optional<std::uint64_t> read(const ByteVector& bytes, const char* name) {
    const auto path = dir_.file(name);
    EXPECT_TRUE(writeWholeFile(path, bytes));
    Reader reader;
    return millisecondsOfFile(reader, path);
  }
  TempDir dir_;
};

// MPEG-1 Layer III, 64 kbit/s, 44100 Hz, joint stereo: 417 bytes, the Xing
// header 36 bytes in, `fields` behind its name.
ByteVector frameWith(const ByteVector& fields, std::size_t at = 36) {
  ByteVector frame(417, 0);
  const ByteVector header{0xFF, 0xFB, 0x50, 0x40};
  std::copy(header.begin(), header.end(), frame.begin());
  std::copy(fields.begin(), fields.end(), frame.begin() + static_cast<std::ptrdiff_t>(at));
  return frame;
}

// A LAME tag of `version` (9 characters) and revision, with 12 bits each of
// delay and padding.
ByteVector lameTag(std::string_view version, std::uint16_t delay, std::uint16_t padding,
                   std::uint8_t revision = 0) {
  ByteVector tag = bytesOf(version);
  tag.resize(9, 0);
  tag.push_back(static_cast<std::uint8_t>(revision << 4));
  tag.resize(21, 0);
  tag.push_back(static_cast<std::uint8_t>(delay >> 4));
  tag.push_back(static_cast<std::uint8_t>((delay & 0x0F) << 4 | padding >> 8));
  tag.push_back(static_cast<std::uint8_t>(padding & 0xFF));
  return tag;
}

TEST_F(PlayingTimeFile, Mp3FrameCountsAndTheLameTag) {
  const auto frames = [](std::uint32_t count) { return be32(count); };
  // 100 frames of 1152 samples: 2612.2 ms; less 1576 samples of delay and
  // padding: 2576.5 ms.
  const struct {
    const char* name;
    ByteVector fields;
    std::optional<std::uint64_t> milliseconds;
  } cases[] = {
      {"Xing", concat({bytesOf("Xing"), be32(1), frames(100)}), 2612},
      {"Info", concat({bytesOf("Info"), be32(1), frames(100)}), 2612},
      {"LAME", concat({bytesOf("Info"), be32(1), frames(100), lameTag("LAME3.100", 576, 1000)}),
       2577},
      {"L3.99", concat({bytesOf("Info"), be32(1), frames(100), lameTag("L3.99r", 576, 1000)}),
       2577},
      // Before 3.90 the tag held no delay; a later revision of the tag (or
      // the text of an alpha version) is not read.
      {"3.89", concat({bytesOf("Info"), be32(1), frames(100), lameTag("LAME3.89", 576, 1000)}),
       2612},
      {"3.90", concat({bytesOf("Info"), be32(1), frames(100), lameTag("LAME3.90", 576, 1000)}),
       2577},
      {"revision 1",
       concat({bytesOf("Info"), be32(1), frames(100), lameTag("LAME3.90", 576, 1000, 1)}), 2612},
      {"other maker", concat({bytesOf("Info"), be32(1), frames(100), lameTag("Lavf", 576, 1000)}),
       2612},
      // The tag stands behind whatever fields the flags announce.
      {"all fields",
       concat({bytesOf("Xing"), be32(15), frames(100), be32(5000), ByteVector(100, 1), be32(50),
               lameTag("LAME3.99.5", 576, 1000)}),
       2577},
      // More delay than samples: nothing is left to play.
      {"short", concat({bytesOf("Info"), be32(1), frames(1), lameTag("LAME3.100", 4095, 4095)}),
       std::nullopt},
      {"no frames", concat({bytesOf("Xing"), be32(1), frames(0)}), std::nullopt},
      // Most frames a counter holds: no overflow.
      {"largest", concat({bytesOf("Xing"), be32(1), frames(0xFFFFFFFF)}), 112195064033},
      // VBRI: version 1, delay, quality, bytes, frames.
      {"VBRI", concat({bytesOf("VBRI"), be16(1), be16(0), be16(0), be32(5000), frames(100)}), 2612},
  };
  for (const auto& c : cases)
    EXPECT_EQ(read<MP3Info>(concat({frameWith(c.fields), ByteVector(1000, 0)}), "t.mp3"),
              c.milliseconds)
        << c.name;
  // A file that ends soon after the counts still has them read.
  const auto counts = concat({bytesOf("Xing"), be32(3), frames(100), be32(5000)});
  auto cut = frameWith(counts);
  cut.resize(36 + 16);
  EXPECT_EQ(read<MP3Info>(cut, "t.mp3"), 2612u);
}

TEST_F(PlayingTimeFile, Mp3WithoutCountsLastsItsAudioBytesWithoutTheTags) {
  // 128 kbit/s: 8000 bytes of audio are half a second.
  const auto audio = concat({mpegFrame(9, 0, 1), ByteVector(8000 - 417, 0)});
  const ByteVector id3v2 = id3v2Tag(3, id3v2Frame(3, "TIT2", textBody(0, bytesOf("T"))));
  const ByteVector id3v1 = id3v1Block({.title = "v1"});
  const ByteVector ape = apeTag({apeItem("Title", "ape")});
  const ByteVector lyrics = lyrics3Block({lyrics3Field("LYR", "la")});
  const struct {
    const char* name;
    ByteVector file;
    std::uint64_t milliseconds;
  } cases[] = {
      {"bare", audio, 500},
      {"one byte more", concat({audio, ByteVector(1, 0)}), 500},
      {"eight bytes more", concat({audio, ByteVector(8, 0)}), 501},
      {"ID3v2", concat({id3v2, audio}), 500},
      {"ID3v1", concat({audio, id3v1}), 500},
      {"APEv2", concat({audio, ape}), 500},
      {"APEv2 and ID3v1", concat({audio, ape, id3v1}), 500},
      {"Lyrics3 and ID3v1", concat({audio, lyrics, id3v1}), 500},
      {"all", concat({id3v2, audio, ape, id3v1}), 500},
  };
  for (const auto& c : cases) EXPECT_EQ(read<MP3Info>(c.file, "t.mp3"), c.milliseconds) << c.name;
  // Free format says nothing of its rate.
  EXPECT_EQ(read<MP3Info>(concat({mpegFrame(0, 0, 1), ByteVector(8000, 0)}), "t.mp3"),
            std::nullopt);
}

// The page with its granule position and serial number set.
ByteVector pageOf(const ByteVector& body, std::uint64_t granule, std::uint32_t serial = 0x1234,
                  std::uint8_t headerType = 0) {
  auto page = oggPage(body, headerType);
  for (int i = 0; i < 8; ++i) page[6 + i] = static_cast<std::uint8_t>(granule >> (8 * i));
  for (int i = 0; i < 4; ++i) page[14 + i] = static_cast<std::uint8_t>(serial >> (8 * i));
  return page;
}

TEST_F(PlayingTimeFile, OggLastGranuleOfTheStream) {
  const auto head = oggVorbisFile(vorbisCommentBlock("v", {"TITLE=t"}));
  const ByteVector audio(300, 0x55);
  const ByteVector cutPage = pageOf(audio, 88200);
  constexpr std::uint64_t kNone = ~std::uint64_t{0};
  const struct {
    const char* name;
    ByteVector tail;
    std::optional<std::uint64_t> milliseconds;
  } cases[] = {
      {"last page", concat({pageOf(audio, 44100), pageOf(audio, 88200, 0x1234, 4)}), 2000},
      // A page of another stream, or one on which no packet ends, is passed.
      {"other stream", concat({pageOf(audio, 44100), pageOf(audio, 999999, 0x9999)}), 1000},
      {"no granule", concat({pageOf(audio, 44100), pageOf(audio, kNone)}), 1000},
      // "OggS" inside a packet is no page unless it parses as one of the stream.
      {"capture in audio", concat({pageOf(audio, 44100), bytesOf("OggS")}), 1000},
      {"cut header",
       concat({pageOf(audio, 44100), ByteVector(cutPage.begin(), cutPage.begin() + 26)}), 1000},
      {"largest", pageOf(audio, kNone - 1), millisecondsOf(kNone - 1, 44100)},
      {"none", ByteVector{}, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(read<OGGInfo>(concat({head, c.tail}), "t.ogg"), c.milliseconds) << c.name;
  // Only the last 64 KiB are searched: a page further back is not found.
  EXPECT_EQ(read<OGGInfo>(concat({head, pageOf(audio, 44100), pageOf(ByteVector(65000, 0), kNone),
                                  ByteVector(600, 0)}),
                          "t.ogg"),
            std::nullopt);
  // A last page that fills the short first look at the end, and one a byte
  // larger, which only the look as far back as the largest page finds.
  for (const std::size_t pageSize : {std::size_t{8192}, std::size_t{8193}}) {
    std::size_t bodySize = pageSize - 27;
    while (pageOf(ByteVector(bodySize, 0x55), 0).size() > pageSize) --bodySize;
    const auto last = pageOf(ByteVector(bodySize, 0x55), 88200);
    ASSERT_EQ(last.size(), pageSize);
    EXPECT_EQ(read<OGGInfo>(concat({head, pageOf(audio, 44100), last}), "t.ogg"), 2000u)
        << pageSize;
  }
}

TEST_F(PlayingTimeFile, HeaderCountsOfFlacMp4AndMusepack) {
  const auto flac = [](std::uint32_t rate, std::uint64_t samples) {
    return concat({bytesOf("fLaC"), streamInfo(rate, 2, samples), ByteVector(100, 0)});
  };
  EXPECT_EQ(read<FLACInfo>(flac(44100, 441000), "t.flac"), 10000u);
  EXPECT_EQ(read<FLACInfo>(flac(44100, 0), "t.flac"), std::nullopt);
  // 36 bits of samples at the lowest rate.
  EXPECT_EQ(read<FLACInfo>(flac(1, 0xFFFFFFFFF), "t.flac"), 0xFFFFFFFFFull * 1000);

  EXPECT_EQ(read<MP4Info>(m4aFile({}, 44100, 441000), "t.m4a"), 10000u);
  EXPECT_EQ(read<MP4Info>(m4aFile({}, 600, 1), "t.m4a"), 2u);
  EXPECT_EQ(read<MP4Info>(m4aFile({}, 0, 441000), "t.m4a"), std::nullopt);
  EXPECT_EQ(read<MP4Info>(m4aFile({}, 1, 0xFFFFFFFF), "t.m4a"), 0xFFFFFFFFull * 1000);

  // Version 7: 1152 samples a frame, less 576 of decoder delay.
  const auto mpc = [](std::uint32_t frames) {
    return concat({musepackHeader(7, frames), ByteVector(200, 0)});
  };
  EXPECT_EQ(read<MPCInfo>(mpc(40), "t.mpc"), 1032u);
  EXPECT_EQ(read<MPCInfo>(mpc(1), "t.mpc"), 13u);
  EXPECT_EQ(read<MPCInfo>(mpc(0), "t.mpc"), std::nullopt);
  EXPECT_EQ(read<MPCInfo>(mpc(0xFFFFFFFF), "t.mpc"),
            millisecondsOf(0xFFFFFFFFull * 1152 - 576, 44100));
}

}  // namespace
}  // namespace tunora
