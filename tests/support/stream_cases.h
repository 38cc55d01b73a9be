#pragma once
// Stream values that a reader must find in fixture files made by encoders,
// checked the same way for every format.

#include <gtest/gtest.h>

#include <span>

#include "support/temp_dir.h"
#include "trackinfo/track_info.h"

namespace tunora::testing {

struct StreamCase {
  const char* file;
  const char16_t* bitrate;
  const char16_t* sampleRate;
  const char16_t* channels;
};

// Each file reads with these values and without a warning.
template <class Info>
void expectStreamValues(std::span<const StreamCase> cases) {
  for (const auto& c : cases) {
    Info info;
    ASSERT_EQ(info.readFile(fixturePath(c.file)), ReadResult::Read) << c.file;
    EXPECT_EQ(info.getBitrate(), c.bitrate) << c.file;
    EXPECT_EQ(info.getSampleRate(), c.sampleRate) << c.file;
    EXPECT_EQ(info.getStereoMode(), c.channels) << c.file;
    EXPECT_EQ(info.getReadWarning(), "") << c.file;
  }
}

}  // namespace tunora::testing
