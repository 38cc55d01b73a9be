// Plain output keeps control characters from files and servers off the
// terminal.

#include "cli/plain_text.h"

#include <gtest/gtest.h>

#include "io/file.h"
#include "support/cli_runner.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

TEST(PlainText, ControlsAreEscapedAndEverythingElsePasses) {
  const struct {
    std::string_view text;
    std::string_view shown;
  } cases[] = {
      {"plain \xC3\xA9 text", "plain \xC3\xA9 text"},
      {"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
      {std::string_view("a\0b", 3), "a\\x00b"},
      {"\x1f\x20\x7e\x7f", "\\x1f ~\\x7f"},
      {"tab\tstays", "tab\tstays"},
      {"line\nfeed\r", "line\\x0afeed\\x0d"},
      // U+0080 and U+009F are the C1 set's edges; U+007F and U+00A0 around them.
      {"\xC2\x80\xC2\x9B\xC2\x9F\xC2\xA0", "\\u0080\\u009b\\u009f\xC2\xA0"},
      {"\xC2", "\xC2"},
      {"\xFF\x1b", "\xFF\\x1b"},
  };
  for (const auto& c : cases) EXPECT_EQ(escapeControls(c.text), c.shown) << c.shown;
}

TEST(PlainText, TagsListingEscapesTagsAndFileNames) {
  testing::TempDir dir;
#ifdef _WIN32
  // Windows allows no control characters in file names.
  const std::string name = "evil.ogg";
#else
  const std::string name = "evil\x1b[2J.ogg";
#endif
  const auto path = dir.file(name);
  ASSERT_TRUE(writeWholeFile(
      path, testing::oggVorbisFile(testing::vorbisCommentBlock(
                "v", {"ARTIST=\x1b]0;title\x07", "LYRICS=one\x1b[1m\r\ntwo\rthree\r\n"}))));
  const testing::CliResult plain = testing::runCli({u"tags", path});
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.out.find('\x1b'), std::string::npos) << plain.out;
  EXPECT_NE(plain.out.find("shortfilename: " + escapeControls(name) + "\n"), std::string::npos)
      << plain.out;
  EXPECT_NE(plain.out.find("artist: \\x1b]0;title\\x07\n"), std::string::npos) << plain.out;
  // A line break's own carriage return stays; one inside a line is shown.
  EXPECT_NE(plain.out.find("lyrics: one\\x1b[1m\r\n        two\\x0dthree\r\n        \n"),
            std::string::npos)
      << plain.out;
  const testing::CliResult missing = testing::runCli({u"tags", dir.file("gone\x1b[2J.ogg")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("gone\\x1b[2J.ogg"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.err.find('\x1b'), std::string::npos);
  // JSON has its own escapes.
  const testing::CliResult json = testing::runCli({u"tags", u"--json", path});
  EXPECT_NE(json.out.find("\"artist\": \"\\u001b]0;title\\u0007\""), std::string::npos) << json.out;
}

}  // namespace
}  // namespace tunora
