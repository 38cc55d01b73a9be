// Several values of one field, as music taggers write them in each container,
// read as one text: all values in stored order, "; " between them.
#include <gtest/gtest.h>

#include <memory>

#include "formats/flac_info.h"
#include "formats/mp4_info.h"
#include "formats/ogg_info.h"
#include "formats/vorbis_comment.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

TEST(MultiValueTexts, RepeatedFieldsOfRealFilesJoinInStoredOrder) {
  const struct {
    const char* file;
    std::unique_ptr<TrackInfo> info;
    std::u16string_view genre;
  } cases[] = {
      {"formats/repeated_artist.ogg", std::make_unique<OGGInfo>(), u"Ambient; Jazz"},
      {"formats/repeated_artist.flac", std::make_unique<FLACInfo>(), u"Ambient; Jazz"},
      {"formats/mp4_two_artists.m4a", std::make_unique<MP4Info>(), u"Blues"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(c.info->readFile(testing::fixturePath(c.file)), ReadResult::Read) << c.file;
    EXPECT_EQ(c.info->getArtist(), u"Alpha; Beta") << c.file;
    EXPECT_EQ(c.info->getGenre(), c.genre) << c.file;
  }
}

TEST(MultiValueTexts, VorbisCommentEmptyValuesAreNoValues) {
  const struct {
    std::initializer_list<std::string> entries;
    std::u16string_view artist;
  } cases[] = {
      {{"ARTIST=A", "artist=B", "Artist=C"}, u"A; B; C"},
      {{"ARTIST=", "ARTIST=B"}, u"B"},
      {{"ARTIST=A", "ARTIST="}, u"A"},
      {{"ARTIST=", "ARTIST="}, u"Unknown"},
      {{"ARTIST=A", "TITLE=x", "ARTIST=B"}, u"A; B"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(VorbisComment(testing::vorbisCommentBlock("v", c.entries)).artist(), c.artist);
}

}  // namespace
}  // namespace tunora
