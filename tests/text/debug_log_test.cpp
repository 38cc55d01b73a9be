#include "text/debug_log.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch_stream.h"

namespace tunora {
namespace {

// Sends the log to a temporary file for the test and gives back what arrived.
class DebugLogCapture : public ::testing::Test {
 protected:
  void SetUp() override { setDebugLogStream(file_.get()); }
  void TearDown() override { setDebugLogStream(nullptr); }

  std::string captured() { return file_.contents(); }

 private:
  testing::ScratchStream file_;
};

TEST_F(DebugLogCapture, FormatsAndCutsLongLines) {
  EXPECT_EQ(debugLog("Winamp ver %x\n", 0x5012), 16);
  const std::string huge(5000, 'x');
  EXPECT_EQ(debugLog("%s", huge.c_str()), 2999);
  const std::string text = captured();
  EXPECT_EQ(text.substr(0, 15), "Winamp ver 5012");
  EXPECT_EQ(text.size(), 16u + 2999u);
}

TEST_F(DebugLogCapture, ValuesAreNotFormattedTwice) {
  debugLog("filename: '%s'\n", "100%s %d");
  debugLogText(u"K\u00F6ln %n");
  EXPECT_EQ(captured(), "filename: '100%s %d'\nK\xC3\xB6ln %n");
}

TEST(DebugLog, SilentWithoutStream) {
  setDebugLogStream(nullptr);
  EXPECT_FALSE(debugLogWanted());
  EXPECT_EQ(debugLog("%d", 42), 0);
}

}  // namespace
}  // namespace tunora
