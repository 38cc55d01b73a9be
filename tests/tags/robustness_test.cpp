// Damaged and foreign files through every MP3-family reader: whatever the
// bytes, a read ends with an answer, and nothing it keeps is larger than the
// file. Run under AddressSanitizer this also proves that no read leaves its
// buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "formats/aac_info.h"
#include "formats/mp3_info.h"
#include "support/temp_dir.h"
#include "tags/ape_tag.h"
#include "tags/id3v1_tag.h"
#include "tags/id3v2_tag.h"
#include "tags/lyrics3_tag.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> filesBelow(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<fs::path> tagFixtures() {
  std::vector<fs::path> files;
  for (const auto& file : filesBelow(fs::path(TUNORA_FIXTURES_DIR) / "tags"))
    if (file.extension() == ".mp3" || file.extension() == ".aac") files.push_back(file);
  return files;
}

// Reads a file with both track classes and checks what they keep.
void readWithEveryClass(const std::u16string& path, std::uint64_t length) {
  MP3Info mp3;
  AACInfo aac;
  for (TrackInfo* track : {static_cast<TrackInfo*>(&mp3), static_cast<TrackInfo*>(&aac)}) {
    ASSERT_EQ(track->readFile(path), ReadResult::Read);
    if (const auto* cover = track->getCoverData()) {
      ASSERT_LE(cover->size(), length);
    }
    for (const auto* text : {&track->getTitle(), &track->getArtist(), &track->getAlbum(),
                             &track->getGenre(), &track->getTrackNumber()})
      ASSERT_LE(text->size(), std::max<std::uint64_t>(length, 7));
    ASSERT_LE(track->getYear().size(), 7u);
    ASSERT_FALSE(track->getPresentTags().empty());
  }
}

// The byte readers, handed every block a locator could hand them.
void parseWithEveryReader(Bytes bytes) {
  ID3v1Tag id3v1;
  id3v1.parse(bytes.size() >= ID3v1Tag::kSize ? bytes.last(ID3v1Tag::kSize) : bytes);
  ID3v2Tag id3v2;
  id3v2.parse(bytes);
  ASSERT_LE(id3v2.picture().size(), bytes.size());
  APEv2Tag ape;
  ape.parse(bytes);
  Lyrics3Tag lyrics3;
  lyrics3.parse(bytes);
}

TEST(TagRobustness, EveryFixtureCutAtEveryLength) {
  testing::TempDir dir;
  const auto path = dir.file("cut.mp3");
  const auto fixtures = tagFixtures();
  ASSERT_FALSE(fixtures.empty());
  for (const auto& fixture : fixtures) {
    SCOPED_TRACE(fixture.filename().string());
    const auto contents = readWholeFile(testing::toU16(fixture));
    ASSERT_TRUE(contents);
    ASSERT_TRUE(writeWholeFile(path, *contents));
    // Shortened in place, from the whole file down to nothing.
    for (std::size_t length = contents->size() + 1; length-- > 0;) {
      const Bytes cut = Bytes(*contents).first(length);
      fs::resize_file(dir.path() / "cut.mp3", length);
      readWithEveryClass(path, length);
      parseWithEveryReader(cut);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(TagRobustness, EveryFixtureWithItsLastBytesZeroed) {
  testing::TempDir dir;
  const auto path = dir.file("zeroed.mp3");
  for (const auto& fixture : tagFixtures()) {
    SCOPED_TRACE(fixture.filename().string());
    auto contents = *readWholeFile(testing::toU16(fixture));
    ASSERT_TRUE(writeWholeFile(path, contents));
    // Zeroed in place, one more byte from the end each time.
    std::fstream file(dir.path() / "zeroed.mp3", std::ios::in | std::ios::out | std::ios::binary);
    for (std::size_t zeroed = 1; zeroed <= contents.size(); ++zeroed) {
      const std::size_t position = contents.size() - zeroed;
      contents[position] = 0;
      file.seekp(static_cast<std::streamoff>(position));
      file.put(0);
      file.flush();
      readWithEveryClass(path, contents.size());
      parseWithEveryReader(contents);
      if (HasFatalFailure()) return;
    }
  }
}

TEST(TagRobustness, PeerCorpusThroughEveryReader) {
  const fs::path corpus(TUNORA_PEER_CORPUS_DIR);
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no peer corpus at " << corpus;
  const auto files = filesBelow(corpus);
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    const auto path = testing::toU16(file);
    const auto contents = readWholeFile(path);
    ASSERT_TRUE(contents);
    readWithEveryClass(path, contents->size());
    parseWithEveryReader(*contents);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace tunora
