// Where `tunora page` looks and writes when names are short or unusual: a bare
// music file name, the cover file spelt in capitals, the page on standard
// output, and a skin folder that is not there.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "htmlcreator/page_support.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"

namespace tunora {
namespace {

namespace fs = std::filesystem;
using namespace testing;

// Runs with the test folder as the current one, as a user in a shell does.
class InFolder : public ::testing::Test {
 protected:
  InFolder() : before_(fs::current_path()) {
    fs::copy_file(fs::path(fixturePath("tags/id3v1_1.mp3")), dir.path() / "t.mp3");
    fs::current_path(dir.path());
  }
  ~InFolder() override { fs::current_path(before_); }

  TempDir dir;

 private:
  fs::path before_;
};

TEST_F(InFolder, ABareFileNameFindsItsCoverHoweverItIsSpelt) {
  const struct {
    const char* cover;
    bool found;
  } cases[] = {{"folder.jpg", true},   {"Folder.jpg", true},   {"FOLDER.JPG", true},
               {"folder.jpeg", false}, {"xfolder.jpg", false}, {"folder.jp", false}};
  for (const auto& [cover, found] : cases) {
    ASSERT_TRUE(writeWholeFile(dir.file(cover), greyRampJpeg(8, 8)));
    const CliResult result = runCli({u"page", u"t.mp3", u"-o", u"p.html"});
    EXPECT_EQ(result.status, 0) << cover << ": " << result.err;
    EXPECT_EQ(fs::exists(dir.path() / "p_covers" / "_tmptrk0.jpg"), found) << cover;
    fs::remove(dir.path() / cover);
  }
}

TEST_F(InFolder, StatusesOfTheOutputAndTheSkin) {
  ASSERT_TRUE(writeWholeFile(dir.file("plain.txt"), bytesOf("x")));
  const struct {
    Arguments args;
    int status;
    const char* says;
  } cases[] = {
      {{u"page", u"t.mp3", u"--skin", u"missing"}, 2, "--skin 'missing' does not exist"},
      {{u"page", u"t.mp3", u"--skin", u"plain.txt"}, 2, "--skin 'plain.txt' is not a folder"},
      {{u"page", u"t.mp3", u"--skin", u"."}, 0, ""},
      {{u"page", u"t.mp3", u"-o", u"-"}, 0, ""},
  };
  for (const auto& [args, status, says] : cases) {
    const CliResult result = runCli(args);
    EXPECT_EQ(result.status, status) << convertUTF16ToUTF8(args[3]) << ": " << result.err;
    EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
  }
  fs::remove(dir.path() / "tunora.html");
  // The page itself on standard output, and nothing else there.
  const CliResult toOutput = runCli({u"page", u"t.mp3", u"-o", u"-"});
  ASSERT_EQ(toOutput.status, 0) << toOutput.err;
  EXPECT_EQ(toOutput.out.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(toOutput.out.find("Page written"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path() / "tunora.html"));
  EXPECT_FALSE(fs::exists(dir.path() / "-"));
  const CliResult utf8 = runCli({u"page", u"--utf8", u"t.mp3", u"-o", u"-"});
  EXPECT_NE(utf8.out.find("V1 Title"), std::string::npos) << utf8.out;
}

}  // namespace
}  // namespace tunora
