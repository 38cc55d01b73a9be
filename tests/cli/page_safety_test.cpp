// What `tunora page` must never do: write over a file it reads, leave debris
// after a failure, or report success when it read nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using testing::bytesOf;
using testing::CliResult;
using testing::runCli;
using testing::toU16;

using Tree = std::map<fs::path, std::vector<std::uint8_t>>;

// Every file and folder under the root with its bytes (folders have none).
Tree snapshot(const fs::path& root) {
  Tree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    tree[entry.path()] =
        entry.is_regular_file() ? *readWholeFile(toU16(entry.path())) : std::vector<std::uint8_t>{};
  return tree;
}

class PageSafety : public ::testing::Test {
 protected:
  PageSafety() {
    fs::create_directories(dir.path() / "music");
    fs::copy_file(fs::path(testing::fixturePath("tags/id3v1_1.mp3")), path("music/03.mp3"));
    writeWholeFile(toU16(path("music/folder.jpg")), testing::greyRampJpeg(8, 8));
    writeWholeFile(toU16(path("music/old.html")), bytesOf("an earlier page"));
  }
  fs::path path(const std::string& relative) const { return dir.path() / relative; }
  // With the platform's separators, as a user types it.
  std::u16string file(const std::string& relative) const {
    return testing::nativePath(dir.path(), relative);
  }

  testing::TempDir dir;
};

TEST_F(PageSafety, RefusesToWriteOverAnythingItReads) {
  writeWholeFile(file("t.html"), std::vector<std::uint8_t>{0xFF, 0xFE, 'x', 0});
  // A cover that tags may name.
  writeWholeFile(file("music/Anyone.jpg"), testing::greyRampJpeg(8, 8));
  const std::u16string song = file("music/03.mp3");
  const std::vector<Arguments> runs = {
      {u"page", song, u"-o", song},
      // Another spelling of the same file.
      {u"page", song, u"-o", file("music/../music/./03.mp3")},
      {u"page", song, u"-o", file("music/folder.jpg")},
      {u"page", song, u"--covername", u"%a.jpg", u"-o", file("music/Anyone.jpg")},
      {u"page", song, u"--template", file("t.html"), u"-o", file("t.html")},
      {u"page", u"--directory", file("music"), u"-o", song},
      {u"page", u"--directory", file("music"), u"-o", file("music/old.html")},
  };
  const Tree before = snapshot(dir.path());
  for (const Arguments& args : runs) {
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_NE(result.err.find("refusing"), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(snapshot(dir.path()) == before);
  }
  // A page of its own beside the music is fine.
  EXPECT_EQ(runCli({u"page", song, u"-o", file("music/new.html")}).status, 0);
}

TEST_F(PageSafety, AFailedWriteLeavesNothingAndAMissingFolderIsCreated) {
  const std::u16string song = file("music/03.mp3");
  fs::create_directories(path("target"));
  const Tree before = snapshot(dir.path());
  const CliResult toFolder = runCli({u"page", song, u"-o", file("target")});
  EXPECT_EQ(toFolder.status, 2);
  EXPECT_NE(toFolder.err.find("folder"), std::string::npos);
  EXPECT_TRUE(snapshot(dir.path()) == before);

  const CliResult deep = runCli({u"page", song, u"-o", file("out/new/p.html")});
  EXPECT_EQ(deep.status, 0) << deep.err;
  EXPECT_TRUE(fs::is_regular_file(path("out/new/p.html")));
  EXPECT_TRUE(fs::exists(path("out/new/p_covers/_tmptrk0.jpg")));
  // Only the page and its covers are new: no partial file stays beside it.
  EXPECT_EQ(snapshot(dir.path()).size(), before.size() + 5);
}

TEST_F(PageSafety, ATemplateThatGivesNoPageLeavesTheOldPage) {
  const std::vector<std::uint8_t> earlier = *readWholeFile(file("music/old.html"));
  // UTF-16 without its mark, and a UTF-16 template that is nothing but its mark.
  writeWholeFile(file("nomark.html"), std::vector<std::uint8_t>{0x3C, 0x00, 0x70, 0x00});
  writeWholeFile(file("mark.html"), std::vector<std::uint8_t>{0xFF, 0xFE});
  const Tree before = snapshot(dir.path());
  for (const char* name : {"nomark.html", "mark.html"}) {
    const CliResult result = runCli(
        {u"page", file("music/03.mp3"), u"--template", file(name), u"-o", file("page.html")});
    EXPECT_EQ(result.status, 1) << name;
    EXPECT_NE(result.err.find("page"), std::string::npos);
    EXPECT_TRUE(snapshot(dir.path()) == before) << name;
  }
  const CliResult over = runCli({u"page", file("music/03.mp3"), u"--template", file("nomark.html"),
                                 u"-o", file("elsewhere/old.html")});
  EXPECT_EQ(over.status, 1);
  EXPECT_EQ(*readWholeFile(file("music/old.html")), earlier);
  EXPECT_FALSE(fs::exists(path("elsewhere")));
}

TEST_F(PageSafety, TemplateMistakesAreNamedWithTheirLines) {
  const std::string text =
      "<html>\n<$artst$> <$url:artist$> <$Artist$> <$coverdark='#102030'$>\n<$song\nname$>\n"
      "<!--$ a note $-->\n<!--$ <$inside$>\n$-->\n<!--$ never closed\n<$nothing$>\n</html>";
  testing::ByteVector bytes = {0xFF, 0xFE};
  for (const char c : text) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
  writeWholeFile(file("mine.html"), bytes);
  const CliResult result = runCli(
      {u"page", file("music/03.mp3"), u"--template", file("mine.html"), u"-o", file("p.html")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("line 2: unknown token '<$artst$>'"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("line 3: a token without"), std::string::npos);
  EXPECT_NE(result.err.find("line 8: '<!--$' is never closed"), std::string::npos);
  // Tokens are matched as written; whatever a closed comment holds is fine.
  EXPECT_NE(result.err.find("line 2: unknown token '<$Artist$>'"), std::string::npos);
  EXPECT_EQ(result.err.find("url:"), std::string::npos);
  EXPECT_EQ(result.err.find("coverdark"), std::string::npos);
  EXPECT_EQ(result.err.find("inside"), std::string::npos);
  EXPECT_EQ(result.err.find("nothing"), std::string::npos);
}

TEST_F(PageSafety, FilesThatCannotBeReadAreNamedAndFailTheRun) {
  writeWholeFile(file("music/empty.mp3"), std::vector<std::uint8_t>{});
  writeWholeFile(file("music/tone.mod"), bytesOf("RIFF"));
  const std::vector<std::string> unread = {"nowhere/x.mp3", "music", "music/folder.jpg",
                                           "music/tone.mod", "music/empty.mp3"};
  Arguments args = {u"page", u"-o", file("out.html")};
  for (const auto& name : unread) args.push_back(file(name));
  const CliResult none = runCli(args);
  EXPECT_EQ(none.status, 1);
  for (const auto& name : unread)
    EXPECT_NE(none.err.find(fs::path(name).filename().string() + "'"), std::string::npos)
        << name << "\n"
        << none.err;
  EXPECT_NE(none.err.find("not of a supported type"), std::string::npos);

  // One readable file among them is a page: the others are still named, and
  // those that could not be opened fail the run.
  args.push_back(file("music/03.mp3"));
  const CliResult some = runCli(args);
  EXPECT_EQ(some.status, 1);
  EXPECT_NE(some.err.find("tone.mod"), std::string::npos);
  EXPECT_TRUE(fs::exists(path("out.html")));
  // Only unsupported or empty files beside it: the page is all there is.
  const CliResult unsupported = runCli({u"page", u"-o", file("out.html"), file("music/tone.mod"),
                                        file("music/empty.mp3"), file("music/03.mp3")});
  EXPECT_EQ(unsupported.status, 0) << unsupported.err;
}

TEST_F(PageSafety, DirectoryProblemsAreNamed) {
  fs::create_directories(path("nested/inner"));
#ifndef _WIN32
  fs::create_symlink(path("music/gone.mp3"), path("music/dangling.mp3"));
  const CliResult links = runCli({u"page", u"--directory", file("music"), u"-o", file("l.html")});
  EXPECT_EQ(links.status, 0) << links.err;
  EXPECT_NE(links.err.find("dangling.mp3', a link to nothing"), std::string::npos) << links.err;
#endif
  const struct {
    std::string folder;
    std::string says;
  } cases[] = {{"missing", "does not exist"},
               {"music/03.mp3", "is not a folder"},
               {"nested", "does not descend"}};
  for (const auto& [folder, says] : cases) {
    const CliResult result =
        runCli({u"page", u"--directory", file(folder), u"-o", file("d/out.html")});
    EXPECT_NE(result.status, 0) << folder;
    EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
  }
}

TEST_F(PageSafety, UpperCaseExtensionsAreRead) {
  fs::copy_file(path("music/03.mp3"), path("music/LOUD.MP3"));
  const CliResult result = runCli({u"tags", file("music/LOUD.MP3")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("V1 Title"), std::string::npos) << result.out;
}

TEST(FLACBitRate, CountsTheAudioBytesOnly) {
  testing::TempDir dir;
  using testing::flacBlock;
  // 3 s: 50,000 bytes of audio after a 530 KB picture make 133 kbit/s.
  const auto head = testing::concat({bytesOf("fLaC"), testing::streamInfo(44100, 2, 3 * 44100),
                                     flacBlock(6, testing::ByteVector(530000, 0x77), true)});
  auto whole = head;
  whole.resize(head.size() + 50000, 0);
  writeWholeFile(dir.file("picture.flac"), whole);
  // Cut off after the metadata: no audio, no rate.
  writeWholeFile(dir.file("cut.flac"), head);
  const CliResult result =
      runCli({u"tags", u"--json", dir.file("picture.flac"), dir.file("cut.flac")});
  EXPECT_EQ(result.status, 0) << result.err;
  const auto first = result.out.find("\"bitrate\": \"133\"");
  EXPECT_NE(first, std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\"bitrate\": \"Unknown\"", first), std::string::npos) << result.out;
}

// A PICTURE block body of the given type around the data.
testing::ByteVector pictureBody(std::uint8_t type, const testing::ByteVector& data) {
  const std::uint32_t size = static_cast<std::uint32_t>(data.size());
  return testing::concat(
      {{0, 0, 0, type, 0, 0, 0, 10},
       bytesOf("image/jpeg"),
       {0, 0, 0, 0},
       testing::ByteVector(16, 0),
       {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
        static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)},
       data});
}

TEST(FLACPicturesAndLyrics, TheFrontCoverAndTheLyricsCommentAreRead) {
  testing::TempDir dir;
  using testing::flacBlock;
  const auto file = testing::concat(
      {bytesOf("fLaC"), testing::streamInfo(44100, 2, 44100),
       flacBlock(6, pictureBody(0, testing::ByteVector(300, 1))),
       flacBlock(6, pictureBody(3, testing::ByteVector(200, 2))), flacBlock(6, pictureBody(3, {})),
       flacBlock(4, testing::vorbisCommentBlock("v", {"TITLE=t", "UNSYNCEDLYRICS=la la"}), true)});
  writeWholeFile(dir.file("a.flac"), file);
  const CliResult result = runCli({u"tags", u"--json", dir.file("a.flac")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"coverbytes\": 200"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\"haslyrics\": true"), std::string::npos);
  EXPECT_NE(result.out.find("la la"), std::string::npos);
}

}  // namespace
}  // namespace tunora
