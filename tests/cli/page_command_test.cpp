#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "io/text_file.h"
#include "support/cli_runner.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora {
namespace {

using testing::CliResult;
using testing::runCli;
using testing::textOf;
using testing::toU16;

// The saved page as UTF-8 text; it must be UTF-16LE with a byte-order mark.
std::string pageText(const std::filesystem::path& path) {
  const auto bytes = readWholeFile(toU16(path));
  if (!bytes || !startsWithLittleEndianMark(*bytes)) return "?";
  TextLines page;
  loadTextFile(page, toU16(path), true);
  return textOf(page);
}

class PageCommand : public ::testing::Test {
 protected:
  PageCommand() {
    std::filesystem::create_directories(dir.path() / "music" / "sub");
    for (const char* name : {"b.mp3", "a.mp3", "c.flac", "notes.txt", "sub/d.mp3"})
      writeWholeFile(testing::nativePath(dir.path(), std::string("music/") + name),
                     std::vector<std::uint8_t>(16, 0));
  }
  std::u16string page() const { return testing::nativePath(dir.path(), "out/page.html"); }
  CliResult run(Arguments args) {
    std::filesystem::create_directories(dir.path() / "out");
    args.insert(args.begin(), {u"page", u"-o", page()});
    return runCli(args);
  }

  testing::TempDir dir;
};

TEST_F(PageCommand, ArgumentErrorsAreOneLineAndAHint) {
  for (const Arguments& args : std::vector<Arguments>{{u"page"},
                                                      {u"page", u"--bogus", u"a.mp3"},
                                                      {u"page", u"--skip", u"mod", u"a.mp3"},
                                                      {u"page", u"a.mp3", u"-o"},
                                                      {u"page", u"a.mp3", u"--skin"},
                                                      {u"page", u"--directory", u"d", u"a.mp3"},
                                                      {u"page", u"--mini", u"a.mp3", u"b.mp3"}}) {
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.err.starts_with("tunora: ")) << result.err;
    EXPECT_TRUE(result.err.ends_with("\ntry 'tunora --help'\n")) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
  }
  for (const char16_t* help : {u"--help", u"-h"}) {
    const CliResult result = runCli({u"page", u"a.mp3", help});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("--directory"), std::string::npos);
    EXPECT_TRUE(result.err.empty());
  }
  const CliResult missing =
      run({u"--template", dir.file("none.html"), testing::nativePath(dir.path(), "music/a.mp3")});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos);
}

TEST_F(PageCommand, ASingleFileUsesTheSingleTrackTemplate) {
  const CliResult result = run({testing::nativePath(dir.path(), "music/a.mp3")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("page.html"), std::string::npos);
  const std::string text = pageText(dir.path() / "out" / "page.html");
  EXPECT_NE(text.find("D E T A I L S"), std::string::npos);
  EXPECT_NE(text.find("a.mp3"), std::string::npos);
  EXPECT_EQ(text.find("<$"), std::string::npos);
}

TEST_F(PageCommand, ADirectoryPageListsItsFilesWithTheCoverBesideThem) {
  writeWholeFile(testing::nativePath(dir.path(), "music/folder.jpg"),
                 testing::greyRampJpeg(30, 20));
  const CliResult result = run({u"--directory", dir.file("music")});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string text = pageText(dir.path() / "out" / "page.html");
  EXPECT_NE(text.find("T R A C K S"), std::string::npos);
  const auto a = text.find(">a.mp3<");
  const auto b = text.find(">b.mp3<");
  const auto c = text.find(">c.flac<");
  EXPECT_TRUE(a < b && b < c) << text;
  EXPECT_EQ(text.find("d.mp3"), std::string::npos);
  EXPECT_EQ(text.find("notes.txt"), std::string::npos);
  const auto cover = dir.path() / "out" / "page_covers" / "_tmpdir.jpg";
  EXPECT_TRUE(std::filesystem::exists(cover));
  // Relative to the page, so that both can move together.
  EXPECT_NE(text.find("src=\"page_covers/_tmpdir.jpg\""), std::string::npos) << text;
  EXPECT_NE(text.find("width=\"30\""), std::string::npos);
}

TEST_F(PageCommand, RecursiveDirectoryPageTakesTheSubfoldersAfterTheFiles) {
  const CliResult result = run({u"--directory", dir.file("music"), u"--recursive"});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string text = pageText(dir.path() / "out" / "page.html");
  const auto c = text.find(">c.flac<");
  const auto d = text.find(">d.mp3<");
  EXPECT_TRUE(c != std::string::npos && d != std::string::npos && c < d) << text;
  const CliResult alone = run({u"--recursive", testing::nativePath(dir.path(), "music/a.mp3")});
  EXPECT_EQ(alone.status, 2);
  EXPECT_EQ(alone.err, "tunora: --recursive goes with --directory\ntry 'tunora --help'\n");
}

TEST_F(PageCommand, TheCoverNamePatternAndTheMiniTemplate) {
  writeWholeFile(testing::nativePath(dir.path(), "music/Unknown cover.jpg"),
                 testing::greyRampJpeg(8, 8));
  const CliResult result = run(
      {u"--mini", u"--covername", u"%a cover.jpg", testing::nativePath(dir.path(), "music/a.mp3")});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string text = pageText(dir.path() / "out" / "page.html");
  EXPECT_NE(text.find("_tmptrk0.jpg"), std::string::npos);
  EXPECT_NE(text.find("width=\"61\""), std::string::npos);
}

TEST_F(PageCommand, TheSkinOptionColoursThePageLikeTheSkinsPlaylist) {
  std::filesystem::create_directories(dir.path() / "skin");
  const std::string pledit = "[Text]\r\nNormal=#C0C0C0\r\nNormalBG=#\"><b>x\r\n";
  writeWholeFile(testing::nativePath(dir.path(), "skin/pledit.txt"),
                 std::vector<std::uint8_t>(pledit.begin(), pledit.end()));
  const std::u16string music = testing::nativePath(dir.path(), "music/a.mp3");
  // A trailing separator is allowed.
  const CliResult result = run({u"--skin", dir.file("skin/"), music});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string text = pageText(dir.path() / "out" / "page.html");
  EXPECT_NE(text.find("background-color: #000000; color: #C0C0C0;"), std::string::npos) << text;
  EXPECT_EQ(text.find("<b>x"), std::string::npos);

  writeWholeFile(testing::nativePath(dir.path(), "skin/skin.xml"), std::vector<std::uint8_t>{});
  EXPECT_EQ(run({u"--skin", dir.file("skin"), music}).status, 0);
  EXPECT_NE(
      pageText(dir.path() / "out" / "page.html").find("background-color: #000000; color: #00ff00;"),
      std::string::npos);
  EXPECT_EQ(run({music}).status, 0);
  EXPECT_NE(
      pageText(dir.path() / "out" / "page.html").find("background-color: #000000; color: #00FF00;"),
      std::string::npos);
}

TEST_F(PageCommand, WithoutSupportedFilesThePageSaysSo) {
  const CliResult skipped = run({u"--skip", u"mp3", testing::nativePath(dir.path(), "music/a.mp3"),
                                 testing::nativePath(dir.path(), "music/b.mp3")});
  EXPECT_EQ(skipped.status, 1);
  EXPECT_NE(pageText(dir.path() / "out" / "page.html").find("[No supported files found]"),
            std::string::npos);
  std::filesystem::create_directories(dir.path() / "empty");
  const CliResult empty = run({u"--directory", dir.file("empty")});
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(pageText(dir.path() / "out" / "page.html").find("[No supported files found]"),
            std::string::npos);
}

TEST_F(PageCommand, TemplateEncodingsTheToolTakesAndRefuses) {
  const struct {
    const char* what;
    std::string bytes;
    int status;
    std::string page;  // what the page holds; "?" for no page
    std::string err;
  } cases[] = {
      {"UTF-16LE with a mark", std::string("\xFF\xFE<\0p\0>\0\xE4\0", 10), 0, "<p>\xC3\xA4", ""},
      {"UTF-8 with a mark", "\xEF\xBB\xBF<p>\xC3\xA4", 0, "<p>\xC3\xA4", ""},
      {"UTF-8 without one", "<p>\xC3\xA4", 0, "<p>\xC3\xA4", ""},
      {"8-bit text", "<p>\r\n\xE4 \xE4", 0, "<p>\r\n\xEF\xBF\xBD \xEF\xBF\xBD",
       "line 2: 2 byte sequence(s) that are not UTF-8 shown as U+FFFD"},
      {"UTF-16LE without a mark", std::string("<\0p\0>\0", 6), 1, "?",
       "is neither UTF-8 nor UTF-16LE with a byte-order mark; no page written"},
      {"UTF-16BE with a mark", std::string("\xFE\xFF\0<\0p", 6), 1, "?", "is neither UTF-8"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir.path() / "out" / "page.html");
    writeWholeFile(dir.file("mine.html"),
                   std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.end()));
    const CliResult result =
        run({u"--template", dir.file("mine.html"), testing::nativePath(dir.path(), "music/a.mp3")});
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_NE(pageText(dir.path() / "out" / "page.html").find(c.page), std::string::npos) << c.what;
    if (c.err.empty())
      EXPECT_EQ(result.err, "") << c.what;
    else
      EXPECT_NE(result.err.find(c.err), std::string::npos) << c.what << ": " << result.err;
  }
}

}  // namespace
}  // namespace tunora
