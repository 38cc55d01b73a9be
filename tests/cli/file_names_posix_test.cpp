// Linux file names as the file system has them: bytes that need not be UTF-8,
// and backslashes that separate nothing. The tool gets its arguments as
// main() does, through pathFromNative.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/page_output.h"
#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/format_bytes.h"
#include "support/tag_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using namespace testing;

std::u16string argument(const fs::path& path) {
  return pathFromNative(path.native());
}

ByteVector titledSong() {
  return concat({id3v2Tag(3, id3v2Frame(3, "TIT2", textBody(0, bytesOf("T")))), mpegFrame(9, 0, 0),
                 mpegFrame(9, 0, 0)});
}

TEST(LinuxFileNames, NamesRoundTripByteForByte) {
  // Bytes no UTF-8 text holds: 0xFF, a lone continuation byte, an overlong
  // slash, an encoded surrogate; then well-formed four-byte UTF-8.
  for (const std::string name :
       {"bad\xFFname", "x\x80y", "\xC0\xAF", "\xED\xA0\x80", "\xF0\x9F\x8E\xB5", "plain"}) {
    EXPECT_EQ(pathToNative(pathFromNative(name)), name);
  }
  EXPECT_EQ(pathFromNative("caf\xC3\xA9"), u"caf\u00E9");
  EXPECT_EQ(pathFromNative("a\xFF"), u"a\xDCFF");
}

TEST(LinuxFileNames, OddNamesAreReadListedAndShownWithReplacementCharacters) {
  TempDir dir;
  const fs::path music = dir.path() / "bad\xFFmusic";
  fs::create_directories(music);
  const ByteVector song = titledSong();
  for (const char* name : {"01 \xE9t\xE9.mp3", "Back\\Slash.mp3"})
    std::ofstream(music / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(song.data()),
               static_cast<std::streamsize>(song.size()));

  const CliResult tags = runCli({u"tags", u"--json", argument(music / "01 \xE9t\xE9.mp3"),
                                 argument(music / "Back\\Slash.mp3")});
  EXPECT_EQ(tags.status, 0) << tags.err;
  // JSON keeps the escaped bytes as lone surrogates, which tools that use
  // the same convention turn back into the name.
  EXPECT_NE(tags.out.find("\"shortfilename\": \"01 \\udce9t\\udce9.mp3\""), std::string::npos)
      << tags.out;
  EXPECT_NE(tags.out.find("\"shortfilename\": \"Back\\\\Slash.mp3\""), std::string::npos);
  EXPECT_EQ(tags.out.find("\"error\""), std::string::npos);
  // Text for people shows U+FFFD.
  const CliResult shown = runCli({u"tags", argument(music / "01 \xE9t\xE9.mp3")});
  EXPECT_NE(shown.out.find("01 \xEF\xBF\xBDt\xEF\xBF\xBD.mp3"), std::string::npos) << shown.out;

  const CliResult page = runCli({u"page", u"--utf8", u"--directory", argument(music), u"-o",
                                 argument(dir.path() / "p.html")});
  EXPECT_EQ(page.status, 0) << page.err;
  std::ifstream in(dir.path() / "p.html", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Back\\Slash.mp3"), std::string::npos);
  EXPECT_NE(text.find("01 \xEF\xBF\xBDt\xEF\xBF\xBD.mp3"), std::string::npos);
}

// A page whose own name is no UTF-8: written where it is named, its cover
// folder linked by the name's bytes, and no lone surrogate in its text.
TEST(LinuxFileNames, PagesWithNamesThatAreNoUtf8) {
  TempDir dir;
  const fs::path music = dir.path() / "d\xE9mo";
  fs::create_directories(music);
  const ByteVector song = titledSong();
  writeWholeFile(argument(music / "\xE9t\xE9.mp3"), song);
  writeWholeFile(argument(music / "folder.jpg"), greyRampJpeg(8, 8));
  const CliResult page = runCli(
      {u"page", argument(music / "\xE9t\xE9.mp3"), u"-o", argument(dir.path() / "caf\xE9.html")});
  ASSERT_EQ(page.status, 0) << page.err;
  EXPECT_NE(page.out.find("caf\xEF\xBF\xBD.html"), std::string::npos) << page.out;
  EXPECT_TRUE(fs::exists(dir.path() / "caf\xE9_covers" / "_tmptrk0.jpg"));
  const auto bytes = readWholeFile(argument(dir.path() / "caf\xE9.html"));
  ASSERT_TRUE(bytes && bytes->size() % 2 == 0);
  std::u16string text;
  for (std::size_t i = 2; i < bytes->size(); i += 2)
    text += static_cast<char16_t>((*bytes)[i] | (*bytes)[i + 1] << 8);
  EXPECT_NE(text.find(u"caf%E9_covers/_tmptrk0.jpg"), std::u16string::npos);
  EXPECT_NE(text.find(u"\uFFFDt\uFFFD.mp3"), std::u16string::npos);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
      ++i;
    else
      EXPECT_FALSE(high || low) << "lone surrogate at " << i;
  }
}

TEST(LinuxFileNames, PartialPageBesideANameThatIsNoUtf8) {
  TempDir dir;
  PageOutputError error;
  const std::u16string named = argument(dir.path() / "caf\xE9.html");
  auto output = PageOutput::prepare(named, argument(dir.path() / "caf\xE9_covers/"), error);
  ASSERT_TRUE(output) << error.reason;
  EXPECT_EQ(nativeFolderOf(output->partialPath()), argument(dir.path()) + u"/");
  TextLines lines;
  lines.appendLine(u"<p>");
  ASSERT_TRUE(output->commit(lines, TextFileEncoding::Utf8, error.reason)) << error.reason;
  EXPECT_TRUE(fs::exists(dir.path() / "caf\xE9.html"));
}

}  // namespace
}  // namespace tunora
