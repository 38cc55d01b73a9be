// Broken, cut and foreign files through every container-format reader: each
// gives its defaults or what it could read, never a crash, hang or leak (the
// suite also runs under AddressSanitizer).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formats/aiff_info.h"
#include "formats/flac_info.h"
#include "formats/mp4_info.h"
#include "formats/mpc_info.h"
#include "formats/ogg_info.h"
#include "formats/opus_info.h"
#include "formats/wav_info.h"
#include "io/file.h"
#include "support/cover_bytes_modes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

using testing::TempDir;
using testing::toU16;

// Every query a page asks, so that each value is touched.
std::size_t readAllValues(TrackInfo& track, const std::u16string& path) {
  track.readFile(path);
  std::size_t total = track.getTitle().size() + track.getArtist().size() + track.getAlbum().size() +
                      track.getYear().size() + track.getGenre().size() +
                      track.getTrackNumber().size() + track.getPresentTags().size() +
                      track.getBitrate().size() + track.getSampleRate().size() +
                      track.getStereoMode().size();
  if (const auto* comment = track.getComment()) total += comment->joinWithBreaks().size();
  if (const auto* lyrics = track.getLyrics()) total += lyrics->joinWithBreaks().size();
  if (const auto* cover = track.getCoverData()) total += cover->size();
  return total;
}

std::vector<std::unique_ptr<TrackInfo>> everyReader() {
  std::vector<std::unique_ptr<TrackInfo>> readers;
  readers.push_back(std::make_unique<MP4Info>());
  readers.push_back(std::make_unique<OGGInfo>());
  readers.push_back(std::make_unique<FLACInfo>());
  readers.push_back(std::make_unique<MPCInfo>());
  readers.push_back(std::make_unique<OpusInfo>());
  readers.push_back(std::make_unique<WAVInfo>());
  readers.push_back(std::make_unique<AIFFInfo>());
  return readers;
}

std::unique_ptr<TrackInfo> readerFor(const std::filesystem::path& file) {
  const std::string extension = file.extension().string();
  if (extension == ".m4a" || extension == ".mp4") return std::make_unique<MP4Info>();
  if (extension == ".ogg") return std::make_unique<OGGInfo>();
  if (extension == ".flac") return std::make_unique<FLACInfo>();
  if (extension == ".mpc") return std::make_unique<MPCInfo>();
  if (extension == ".opus") return std::make_unique<OpusInfo>();
  if (extension == ".wav") return std::make_unique<WAVInfo>();
  if (extension == ".aiff" || extension == ".aifc") return std::make_unique<AIFFInfo>();
  return nullptr;
}

std::vector<std::filesystem::path> formatFixtures() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(TUNORA_FIXTURES_DIR) / "formats")) {
    if (readerFor(entry.path())) files.push_back(entry.path());
  }
  return files;
}

// Each fixture through `readFile`, cut at every length and then with its
// tail zeroed byte by byte.
void forEveryCutAndZeroedTail(const std::function<void(const std::filesystem::path& fixture,
                                                       const std::u16string& path)>& readFile) {
  TempDir dir;
  const auto fixtures = formatFixtures();
  ASSERT_GE(fixtures.size(), 6u);
  for (const auto& fixture : fixtures) {
    SCOPED_TRACE(fixture.string());
    const auto bytes = readWholeFile(toU16(fixture));
    ASSERT_TRUE(bytes);
    const std::filesystem::path copy = dir.path() / ("cut" + fixture.extension().string());
    const std::u16string path = toU16(copy);
    ASSERT_TRUE(writeWholeFile(path, *bytes));
    // Shorten the one file step by step: no rewrite per length.
    for (std::size_t length = bytes->size(); length-- > 0;) {
      std::filesystem::resize_file(copy, length);
      readFile(fixture, path);
    }
    std::vector<std::uint8_t> zeroed = *bytes;
    for (std::size_t from = zeroed.size(); from-- > 0;) {
      zeroed[from] = 0;
      ASSERT_TRUE(writeWholeFile(path, zeroed));
      readFile(fixture, path);
    }
  }
}

TEST(FormatRobustness, EveryFixtureCutAtEveryLengthAndWithItsTailZeroed) {
  forEveryCutAndZeroedTail([](const std::filesystem::path& fixture, const std::u16string& path) {
    readAllValues(*readerFor(fixture), path);
  });
}

// The listing measures pictures that the pages keep: both must see the same
// values in every broken file.
TEST(FormatRobustness, MeasuredPicturesAgreeWithKeptOnesInEveryCut) {
  forEveryCutAndZeroedTail([](const std::filesystem::path& fixture, const std::u16string& path) {
    const std::string extension = fixture.extension().string();
    if (extension == ".flac") testing::expectSameWithCoverSizeOnly<FLACInfo>(path);
    if (extension == ".m4a") testing::expectSameWithCoverSizeOnly<MP4Info>(path);
    if (extension == ".opus") testing::expectSameWithCoverSizeOnly<OpusInfo>(path);
    if (extension == ".wav") testing::expectSameWithCoverSizeOnly<WAVInfo>(path);
    if (extension == ".aiff") testing::expectSameWithCoverSizeOnly<AIFFInfo>(path);
  });
}

// Files that once crashed a reader, each named after its fault.
TEST(FormatFaultFixtures, ZeroSizeMediaHeaderGivesNoStreamValues) {
  MP4Info info;
  EXPECT_EQ(info.readFile(testing::fixturePath("formats/mp4_zero_size_mdhd.m4a")),
            ReadResult::Read);
  EXPECT_EQ(info.getSampleRate(), u"Unknown");
  EXPECT_EQ(info.getBitrate(), u"Unknown");
  EXPECT_FALSE(info.hasTag());
}

TEST(FormatRobustness, EveryPeerFileThroughEveryReader) {
  const std::filesystem::path corpus(TUNORA_PEER_CORPUS_DIR);
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no peer corpus at " << corpus;
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().string());
    ++files;
    for (auto& reader : everyReader()) readAllValues(*reader, toU16(entry.path()));
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace tunora
