// The page as UTF-8 on request, and the debug log's account of every file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using namespace testing;

class PageEncoding : public ::testing::Test {
 protected:
  PageEncoding() {
    fs::create_directories(dir_.path() / "music");
    const ByteVector artist = id3v2Frame(3, "TPE1", textBody(0, bytesOf("Caf\xE9 \xA9")));
    writeWholeFile(nativePath(dir_.path(), "music/a.mp3"),
                   concat({id3v2Tag(3, artist), mpegFrame(9, 0, 0), mpegFrame(9, 0, 0)}));
  }
  std::u16string file(const std::string& name) const { return nativePath(dir_.path(), name); }
  std::string page(const std::string& name) const {
    const auto bytes = readWholeFile(file(name));
    return bytes ? std::string(bytes->begin(), bytes->end()) : "(none)";
  }

  TempDir dir_;
};

TEST_F(PageEncoding, Utf8OnRequestUtf16ByDefault) {
  ASSERT_EQ(runCli({u"page", file("music/a.mp3"), u"-o", file("wide.html")}).status, 0);
  EXPECT_EQ(page("wide.html").substr(0, 2), "\xFF\xFE");
  const CliResult utf8 = runCli({u"page", u"--utf8", file("music/a.mp3"), u"-o", file("p.html")});
  ASSERT_EQ(utf8.status, 0) << utf8.err;
  const std::string text = page("p.html");
  // No byte-order mark, no zero bytes, the artist in UTF-8.
  EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(text.find("<html"), std::string::npos);
  EXPECT_EQ(text.find('\0'), std::string::npos);
  EXPECT_NE(text.find("Caf\xC3\xA9 \xC2\xA9"), std::string::npos);
  // Declared first in the head, where a browser looks for it.
  EXPECT_LT(text.find("<meta charset=\"utf-8\">"), text.find("</head>"));
  EXPECT_EQ(pageFileText(dir_.path() / "wide.html").find("<meta charset"), std::string::npos);
  EXPECT_EQ(runCli({u"page", u"--utf8"}).status, 2);
}

TEST_F(PageEncoding, DebugTellsWhatHappenedToEachFile) {
  writeWholeFile(file("music/notes.txt"), bytesOf("x"));
  writeWholeFile(file("music/empty.flac"), {});
  const CliResult result =
      runCli({u"--debug", u"tags", file("music/a.mp3"), file("music/notes.txt"),
              file("music/empty.flac"), file("music/gone.ogg")});
  EXPECT_EQ(result.status, 1);
  for (const std::string expected :
       {"a.mp3': read as MP3: opened and read; tags: ID3v2", "notes.txt': no reader",
        "empty.flac': read as FLAC: opened, but not a file of that kind; tags: None",
        "gone.ogg': read as Ogg Vorbis: could not be opened"})
    EXPECT_NE(result.err.find(expected), std::string::npos) << expected << "\n" << result.err;
}

}  // namespace
}  // namespace tunora
