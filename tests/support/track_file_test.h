#pragma once
// A test fixture for the track classes: writes bytes to a file of the test's
// own folder and reads it with the class.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "io/file.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora::testing {

template <typename Track>
class TrackFileTest : public ::testing::Test {
 protected:
  // readFile's status for the bytes, read into info_.
  int read(const ByteVector& bytes) { return readInto(info_, bytes, "track"); }
  // A second object for a second file in the same test; its status goes to
  // lastStatus_.
  std::unique_ptr<Track> readAnother(const ByteVector& bytes, const std::string& name) {
    auto track = std::make_unique<Track>();
    lastStatus_ = readInto(*track, bytes, name);
    return track;
  }

  TempDir dir_;
  Track info_;
  int lastStatus_ = 0;

 private:
  int readInto(Track& track, const ByteVector& bytes, const std::string& name) {
    const std::u16string path = dir_.file(name);
    EXPECT_TRUE(writeWholeFile(path, bytes));
    return track.readFile(path);
  }
};

}  // namespace tunora::testing
