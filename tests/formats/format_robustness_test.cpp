// Broken, cut and foreign files through every container-format reader: each
// gives its defaults or what it could read, never a crash, hang or leak (the
// suite also runs under AddressSanitizer).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/aiff_info.h"
#include "formats/asf_info.h"
#include "formats/flac_info.h"
#include "formats/monkeys_audio_info.h"
#include "formats/mp4_info.h"
#include "formats/mpc_info.h"
#include "formats/ogg_info.h"
#include "formats/opus_info.h"
#include "formats/wav_info.h"
#include "formats/wavpack_info.h"
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

#ifdef _WIN32
// Under Wine each file operation costs many times what it costs natively,
// where the sanitizer tree tries the dense pattern on the same parsers.
constexpr std::size_t kEveryPlaceNearEnds = 256;
constexpr std::size_t kStrideBetween = 64;
#else
constexpr std::size_t kEveryPlaceNearEnds = 1024;
constexpr std::size_t kStrideBetween = 8;
#endif

std::vector<std::unique_ptr<TrackInfo>> everyReader() {
  std::vector<std::unique_ptr<TrackInfo>> readers;
  readers.push_back(std::make_unique<MP4Info>());
  readers.push_back(std::make_unique<OGGInfo>());
  readers.push_back(std::make_unique<FLACInfo>());
  readers.push_back(std::make_unique<MPCInfo>());
  readers.push_back(std::make_unique<WavPackInfo>());
  readers.push_back(std::make_unique<MonkeysAudioInfo>());
  readers.push_back(std::make_unique<ASFInfo>());
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
  if (extension == ".wv") return std::make_unique<WavPackInfo>();
  if (extension == ".ape") return std::make_unique<MonkeysAudioInfo>();
  if (extension == ".wma") return std::make_unique<ASFInfo>();
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

// Each fixture through `readFile`, cut short and then with its tail zeroed
// byte by byte.
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
    // Every place near either end, where headers and tags sit; every few in
    // between, which is mostly audio.
    const auto tried = [&](std::size_t place) {
      return place < kEveryPlaceNearEnds || place + kEveryPlaceNearEnds >= bytes->size() ||
             place % kStrideBetween == 0;
    };
    // Shorten the one file step by step: no rewrite per length.
    for (std::size_t length = bytes->size(); length-- > 0;) {
      if (!tried(length)) continue;
      std::filesystem::resize_file(copy, length);
      readFile(fixture, path);
    }
    std::vector<std::uint8_t> zeroed = *bytes;
    for (std::size_t from = zeroed.size(); from-- > 0;) {
      zeroed[from] = 0;
      if (!tried(from)) continue;
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
    if (extension == ".wv") testing::expectSameWithCoverSizeOnly<WavPackInfo>(path);
    if (extension == ".wma") testing::expectSameWithCoverSizeOnly<ASFInfo>(path);
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

TEST(FormatFaultFixtures, BrokenChunkFilesGiveWhatTheyHold) {
  const struct {
    const char* fixture;
    std::optional<std::uint64_t> milliseconds;
    const char16_t* sampleRate;
    const char16_t* title;
  } cases[] = {
      {"formats/wav_data_size_beyond_file.wav", 25, u"8000", u"Unknown"},
      {"formats/wav_no_fmt_chunk.wav", std::nullopt, u"Unknown", u"No Format"},
      // No size in the short ds64: the samples the file holds count.
      {"formats/rf64_truncated_ds64.wav", 25, u"8000", u"Unknown"},
      {"formats/aiff_truncated_comm.aiff", std::nullopt, u"Unknown", u"Cut"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    const auto file = std::filesystem::path(TUNORA_FIXTURES_DIR) / c.fixture;
    const std::u16string path = toU16(file);
    auto track = readerFor(file);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->readFile(path), ReadResult::Read);
    EXPECT_EQ(track->toTrack().stream.milliseconds, c.milliseconds);
    EXPECT_EQ(track->getSampleRate(), c.sampleRate);
    EXPECT_EQ(track->getTitle(), c.title);
  }
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
