#pragma once
// Reads one file twice, once keeping the picture and once asking for its size
// alone, and expects the two reads to agree on every value: the listing that
// measures pictures must show what the pages show.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/file.h"
#include "support/track_file_test.h"
#include "trackinfo/track_info.h"

namespace tunora::testing {

inline std::u16string linesOf(const TextLines* lines) {
  return lines ? lines->joinWithBreaks() : u"(none)";
}

// The size the measuring read found, after checking everything else agrees.
template <typename Track>
std::size_t expectSameWithCoverSizeOnly(const std::u16string& path) {
  Track kept;
  Track measured;
  measured.setCoverBytes(CoverBytes::SizeOnly);
  EXPECT_EQ(kept.readFile(path), measured.readFile(path));
  EXPECT_EQ(kept.hasTag(), measured.hasTag());
  EXPECT_EQ(kept.getPresentTags(), measured.getPresentTags());
  EXPECT_EQ(kept.getTitle(), measured.getTitle());
  EXPECT_EQ(kept.getArtist(), measured.getArtist());
  EXPECT_EQ(kept.getAlbum(), measured.getAlbum());
  EXPECT_EQ(kept.getYear(), measured.getYear());
  EXPECT_EQ(kept.getGenre(), measured.getGenre());
  EXPECT_EQ(kept.getTrackNumber(), measured.getTrackNumber());
  EXPECT_EQ(kept.getBitrate(), measured.getBitrate());
  EXPECT_EQ(kept.getSampleRate(), measured.getSampleRate());
  EXPECT_EQ(kept.getStereoMode(), measured.getStereoMode());
  EXPECT_EQ(linesOf(kept.getComment()), linesOf(measured.getComment()));
  EXPECT_EQ(linesOf(kept.getLyrics()), linesOf(measured.getLyrics()));
  EXPECT_EQ(kept.hasCover(), measured.hasCover());
  EXPECT_EQ(measured.getCoverData(), nullptr);
  const auto* picture = kept.getCoverData();
  EXPECT_EQ(picture ? picture->size() : 0, measured.getCoverSize());
  EXPECT_EQ(kept.getCoverSize(), measured.getCoverSize());
  return measured.getCoverSize();
}

// Writes each file of a test once and reads it both ways.
template <typename Track>
class CoverSizeTest : public TrackFileTest<Track> {
 protected:
  std::size_t measure(const ByteVector& bytes) {
    path_ = this->dir_.file("measured" + std::to_string(++files_));
    EXPECT_TRUE(writeWholeFile(path_, bytes));
    return expectSameWithCoverSizeOnly<Track>(path_);
  }
  // The last file measured, read for its size only.
  std::unique_ptr<Track> measured() {
    auto track = std::make_unique<Track>();
    track->setCoverBytes(CoverBytes::SizeOnly);
    track->readFile(path_);
    return track;
  }

 private:
  std::u16string path_;
  int files_ = 0;
};

}  // namespace tunora::testing
