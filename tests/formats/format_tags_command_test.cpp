// The container formats as the command-line tool shows them: the extension
// picks the reader, and its values reach the output.
#include <gtest/gtest.h>

#include <string>

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
