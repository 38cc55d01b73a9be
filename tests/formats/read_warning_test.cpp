// Every reader names what it missed in a file of its type that gave neither
// a tag nor a stream value, and stays silent about the files it did read.
#include <gtest/gtest.h>

#include <string>

#include "io/file.h"
#include "support/format_bytes.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"
#include "tracks/track_class.h"

namespace tunora {
namespace {

using testing::ByteVector;

std::string warningOf(const std::u16string& path) {
  const auto type = chooseTrackClass(path, false, FileTypeSwitches{});
  if (!type) return "unsupported";
  auto track = createTrackInfo(*type);
  track->readFile(path);
  return track->getReadWarning();
}

TEST(ReadWarning, NamesWhatEachReaderMissed) {
  const ByteVector text(300, 'x');
  const struct {
    const char* name;
    ByteVector contents;
    const char* warning;
  } cases[] = {
      {"empty.mp3", {}, "no MPEG audio frame found"},
      {"empty.aac", {}, "no ADTS or ADIF header found"},
      {"empty.flac", {}, "no FLAC stream marker found"},
      {"notes.flac", text, "no FLAC stream marker found"},
      {"empty.m4a", {}, "no MP4 movie box found"},
      {"silent.m4a", testing::atom("moov", ByteVector{}), "no MP4 audio track found"},
      {"empty.ogg", {}, "no Vorbis identification header found"},
      {"notes.ogg", text, "no Vorbis identification header found"},
      {"empty.mpc", {}, "no Musepack stream header found"},
      {"notes.mpc", text, "no Musepack stream header found"},
  };
  testing::TempDir dir;
  for (const auto& c : cases) {
    const auto path = dir.file(c.name);
    ASSERT_TRUE(writeWholeFile(path, c.contents));
    EXPECT_EQ(warningOf(path), c.warning) << c.name;
  }
  for (const char* fixture : {"formats/aac_tags_cover.m4a", "formats/vorbis_tags.ogg",
                              "formats/flac_picture_tags.flac", "formats/mpcenc_apev2.mpc"})
    EXPECT_EQ(warningOf(testing::fixturePath(fixture)), "") << fixture;
}

}  // namespace
}  // namespace tunora
