// The container formats as the command-line tool shows them: the extension
// picks the reader, and its values reach the output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

TEST(FormatTagsCommand, EachExtensionReachesItsReader) {
  const struct {
    const char* fixture;
    const char* expected;
  } cases[] = {
      {"formats/aac_tags_cover.m4a", "presenttags: iTunes-Metadata"},
      {"formats/vorbis_tags.ogg", "presenttags: Ogg-Comments"},
      {"formats/flac_picture_tags.flac", "presenttags: FLAC-Comments"},
      {"formats/mpcenc_apev2.mpc", "presenttags: APEv2"},
      {"formats/wavpack_apev2_cover.wv", "presenttags: APEv2"},
      {"formats/monkeys_audio_3990_apev2.ape", "presenttags: APEv2"},
      {"formats/wmav2_attributes_pictures.wma", "presenttags: ASF-Attributes"},
      {"formats/libopus_tags_picture.opus", "presenttags: Opus-Comments"},
      {"formats/ffmpeg_riff_info.wav", "presenttags: RIFF-INFO"},
      {"formats/ffmpeg_id3_text.aiff", "presenttags: AIFF-Text,ID3v2"},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.fixture);
    const auto result = testing::runCli({u"tags", testing::fixturePath(entry.fixture)});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find(entry.expected), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("\nartist: Unknown"), std::string::npos) << result.out;
  }
}

// Reference values: ffprobe's duration, sample_rate and channels; for ASF
// mutagen's length (play time less preroll: ffprobe counts the packets).
TEST(FormatTagsCommand, JsonStreamValuesAgreeWithFfprobeAndMutagen) {
  const struct {
    const char* fixture;
    const char* duration;
    const char* sampleRate;
    const char* channels;
  } cases[] = {
      {"formats/wavpack_apev2_cover.wv", "1.000", "44100", "2"},
      {"formats/wavpack_custom_rate_37800.wv", "0.500", "37800", "1"},
      {"formats/wavpack_six_channels.wv", "0.250", "48000", "6"},
      {"formats/monkeys_audio_3990_apev2.ape", "1.000", "44100", "2"},
      {"formats/monkeys_audio_3970_mono.ape", "13.420", "22050", "1"},
      {"formats/wmav2_attributes_pictures.wma", "0.510", "22050", "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    const auto result = testing::runCli({u"tags", u"--json", testing::fixturePath(c.fixture)});
    EXPECT_EQ(result.status, 0);
    for (const std::string& expected : {std::string("\"duration\": ") + c.duration + ",",
                                        std::string("\"samplerate\": \"") + c.sampleRate + "\"",
                                        std::string("\"stereomode\": \"") + c.channels + "\""})
      EXPECT_NE(result.out.find(expected), std::string::npos) << expected << "\n" << result.out;
  }
}

TEST(FormatTagsCommand, Mp4ExtensionIsReadLikeM4a) {
  testing::TempDir dir;
  const auto copy = dir.path() / "video.mp4";
  std::filesystem::copy_file(
      std::filesystem::path(TUNORA_FIXTURES_DIR) / "formats/aac_tags_cover.m4a", copy);
  const auto result = testing::runCli({u"tags", testing::toU16(copy)});
  EXPECT_NE(result.out.find("songname: Caf\xC3\xA9 Noir"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace tunora

namespace tunora {
namespace {

// Files made by ffmpeg and mutagen, against the values the independent
// readers give: ffprobe's stream sample_rate, channels and (for PCM)
// bit_rate, its duration for WAV and AIFF; mutagen's length for Opus (ffprobe
// adds the first page's start time) and its tags. The Opus bit rate is the
// audio after the header pages (ffprobe's first audio packet position) over
// mutagen's length.
TEST(FormatTagsCommand, NewFormatsAgreeWithFfprobeAndMutagen) {
  const struct {
    const char* fixture;
    std::vector<std::string> lines;
  } cases[] = {
      {"formats/ffmpeg_riff_info.wav",
       {R"("filetype": "WAV")", "\"songname\": \"Caf\xC3\xA9 Noir\"",
        R"("artist": "Tunora Ensemble")", R"("album": "Fixtures")", R"("year": "2004")",
        R"("genre": "Ambient")", R"("tracknr": "7")", R"("comment": "made by ffmpeg")",
        R"("duration": 0.250)", R"("bitrate": "128")", R"("samplerate": "8000")",
        R"("stereomode": "1")", R"("presenttags": "RIFF-INFO")"}},
      {"formats/ffmpeg_rf64_stereo.wav",
       {R"("songname": "Rf64 Title")", R"("artist": "Rf64 Artist")", R"("duration": 0.200)",
        R"("bitrate": "352")", R"("samplerate": "11025")", R"("stereomode": "2")"}},
      {"formats/mutagen_id3_over_info.wav",
       {R"("songname": "Id3 Title")", R"("artist": "Info Artist")", R"("album": "Info Album")",
        R"("year": "1999")", R"("presenttags": "RIFF-INFO,ID3v2")", R"("coverbytes": 512)",
        R"("duration": 0.250)"}},
      {"formats/ffmpeg_id3_text.aiff",
       {R"("filetype": "AIFF")", R"("songname": "Aiff Title")", R"("artist": "Aiff Artist")",
        R"("album": "Aiff Album")", R"("comment": "aiff note")",
        R"("presenttags": "AIFF-Text,ID3v2")", R"("duration": 0.250)", R"("bitrate": "128")",
        R"("samplerate": "8000")", R"("stereomode": "1")"}},
      {"formats/ffmpeg_sowt_stereo.aifc",
       {R"("filetype": "AIFC")", R"("duration": 0.200)", R"("bitrate": "352")",
        R"("samplerate": "11025")", R"("stereomode": "2")", R"("presenttags": "None")"}},
      {"formats/libopus_tags_picture.opus",
       {R"("filetype": "OPUS")", R"("songname": "Opus Title")", R"("artist": "Opus Artist")",
        R"("album": "Fixtures")", R"("year": "2011")", R"("tracknr": "3")", R"("genre": "Ambient")",
        R"("coverbytes": 512)", R"("presenttags": "Opus-Comments")", R"("duration": 0.250)",
        R"("bitrate": "10")", R"("samplerate": "48000")", R"("stereomode": "1")"}},
      {"formats/libopus_stereo_untagged.opus",
       {R"("duration": 0.750)", R"("bitrate": "32")", R"("samplerate": "48000")",
        R"("stereomode": "2")"}},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.fixture);
    const auto result = testing::runCli({u"tags", u"--json", testing::fixturePath(entry.fixture)});
    EXPECT_EQ(result.status, 0);
    for (const auto& line : entry.lines)
      EXPECT_NE(result.out.find("    " + line), std::string::npos) << line << "\n" << result.out;
  }
}

}  // namespace
}  // namespace tunora
