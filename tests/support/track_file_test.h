#pragma once
// A test fixture for the track classes: writes bytes to a file of the test's
// own folder and reads it with the class.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/file.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"
#include "trackinfo/track_info.h"

namespace tunora::testing {

template <typename Track>
class TrackFileTest : public ::testing::Test {
 protected:
  // readFile's result for the bytes, read into info_.
  ReadResult read(const ByteVector& bytes) { return readInto(info_, bytes, "track"); }
  // A second object for a second file in the same test; its result goes to
  // lastResult_.
  std::unique_ptr<Track> readAnother(const ByteVector& bytes, const std::string& name) {
    auto track = std::make_unique<Track>();
    lastResult_ = readInto(*track, bytes, name);
    return track;
  }

  TempDir dir_;
  Track info_;
  ReadResult lastResult_ = ReadResult::NotRecognised;

 private:
  ReadResult readInto(Track& track, const ByteVector& bytes, const std::string& name) {
    const std::u16string path = dir_.file(name);
    EXPECT_TRUE(writeWholeFile(path, bytes));
    return track.readFile(path);
  }
};

}  // namespace tunora::testing
