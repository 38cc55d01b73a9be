// Links and covers on the pages of `tunora page`, end to end: every link
// must reach what it names, whatever the values and folder names hold.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

TEST(PageCovers, AnUnusableEmbeddedPictureFallsBackToTheCoverFile) {
  TempDir dir;
  fs::create_directories(dir.path() / "music");
  const ByteVector corrupt(80, 0xFF);
  const ByteVector apic =
      id3v2Frame(3, "APIC", concat({{0}, bytesOf("image/jpeg"), {0}, {3}, {0}, corrupt}));
  writeWholeFile(nativePath(dir.path(), "music/a.mp3"),
                 concat({id3v2Tag(3, apic), mpegFrame(9, 0, 0), mpegFrame(9, 0, 0)}));
  writeWholeFile(nativePath(dir.path(), "music/folder.jpg"), greyRampJpeg(30, 20));
  const CliResult result = runCli({u"--debug", u"page", nativePath(dir.path(), "music/a.mp3"),
                                   u"-o", nativePath(dir.path(), "p.html")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("dropped"), std::string::npos) << result.err;
  EXPECT_NE(pageFileText(dir.path() / "p.html").find("width=\"30\""), std::string::npos);
  const auto cover = readWholeFile(nativePath(dir.path(), "p_covers/_tmptrk0.jpg"));
  ASSERT_TRUE(cover && cover->size() > 2);
  EXPECT_EQ((*cover)[1], 0xD8);

  // Without the cover file nothing stays behind: no raw picture bytes.
  fs::remove(dir.path() / "music" / "folder.jpg");
  EXPECT_EQ(runCli({u"page", nativePath(dir.path(), "music/a.mp3"), u"-o",
                    nativePath(dir.path(), "p.html")})
                .status,
            0);
  EXPECT_TRUE(fs::is_empty(dir.path() / "p_covers"));
}

// A second page writes its covers over those of the first, in place, and
// removes the ones it does not show; the first page's three become one.
TEST(PageCovers, ALaterPageKeepsOnlyItsOwnCovers) {
  TempDir dir;
  const ByteVector audio = concat({mpegFrame(9, 0, 0), mpegFrame(9, 0, 0)});
  for (const char* folder : {"first", "second"}) fs::create_directories(dir.path() / folder);
  for (const char* name : {"first/a.mp3", "first/b.mp3", "first/c.mp3", "second/d.mp3"})
    writeWholeFile(nativePath(dir.path(), name), audio);
  writeWholeFile(nativePath(dir.path(), "first/folder.jpg"), greyRampJpeg(30, 20));
  writeWholeFile(nativePath(dir.path(), "second/folder.jpg"), greyRampJpeg(40, 10));
  const std::u16string page = nativePath(dir.path(), "p.html");
  ASSERT_EQ(
      runCli({u"page", nativePath(dir.path(), "first/a.mp3"), nativePath(dir.path(), "first/b.mp3"),
              nativePath(dir.path(), "first/c.mp3"), u"-o", page})
          .status,
      0);
  for (const char* name : {"_tmptrk0.jpg", "_tmptrk1.jpg", "_tmptrk2.jpg"})
    EXPECT_TRUE(fs::exists(dir.path() / "p_covers" / name)) << name;
  const auto first = readWholeFile(nativePath(dir.path(), "p_covers/_tmptrk0.jpg"));
  ASSERT_EQ(runCli({u"page", nativePath(dir.path(), "second/d.mp3"), u"-o", page}).status, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "p_covers" / "_tmptrk1.jpg"));
  EXPECT_FALSE(fs::exists(dir.path() / "p_covers" / "_tmptrk2.jpg"));
  EXPECT_NE(pageFileText(dir.path() / "p.html").find("width=\"40\""), std::string::npos);
  const auto second = readWholeFile(nativePath(dir.path(), "p_covers/_tmptrk0.jpg"));
  ASSERT_TRUE(first && second && second->size() > 2);
  EXPECT_NE(*first, *second);
  EXPECT_EQ((*second)[1], 0xD8);
}

TEST(PageCovers, APngPictureGoesToThePageAsItIs) {
  TempDir dir;
  fs::create_directories(dir.path() / "music");
  const auto png = readWholeFile(fixturePath("jpeg/png_named.jpg"));
  ASSERT_TRUE(png);
  // An M4A whose cover item holds a PNG, beside a cover file.
  writeWholeFile(nativePath(dir.path(), "music/a.m4a"), m4aFile(item("covr", *png)));
  writeWholeFile(nativePath(dir.path(), "music/folder.jpg"), greyRampJpeg(30, 20));
  // A template that asks for no recolouring: UTF-16LE with its mark.
  ByteVector plain{0xFF, 0xFE};
  for (const char c : std::string("<$cover$> width=\"<$coverwidth$>\"\r\n"))
    plain.insert(plain.end(), {static_cast<std::uint8_t>(c), 0});
  writeWholeFile(nativePath(dir.path(), "plain.html"), plain);
  const CliResult result =
      runCli({u"page", nativePath(dir.path(), "music/a.m4a"), u"--template",
              nativePath(dir.path(), "plain.html"), u"-o", nativePath(dir.path(), "p.html")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(readWholeFile(nativePath(dir.path(), "p_covers/_tmptrk0.jpg")), png);
  EXPECT_NE(pageFileText(dir.path() / "p.html").find("width=\"40\""), std::string::npos);
}

TEST(PageLinks, ValuesInLinksArePercentEncodedAndCoversAreRelative) {
  TempDir dir;
  fs::create_directories(dir.path() / "music");
  const ByteVector artist = id3v2Frame(3, "TPE1", textBody(0, bytesOf("Ice & Fire #1+%/\xE9")));
  writeWholeFile(nativePath(dir.path(), "music/a.mp3"),
                 concat({id3v2Tag(3, artist), mpegFrame(9, 0, 0), mpegFrame(9, 0, 0)}));
  writeWholeFile(nativePath(dir.path(), "music/folder.jpg"), greyRampJpeg(30, 20));
  // Characters that end or escape a URL in the page's own name.
  fs::create_directories(dir.path() / "out #%&");
  const CliResult result = runCli({u"page", nativePath(dir.path(), "music/a.mp3"), u"-o",
                                   nativePath(dir.path(), "out #%&/x #%&.html")});
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string text = pageFileText(dir.path() / "out #%&" / "x #%&.html");
  const std::string encoded = "Ice%20%26%20Fire%20%231%2B%25%2F%C3%A9";
  EXPECT_NE(text.find("search=" + encoded + "\""), std::string::npos) << text;
  EXPECT_NE(text.find("q=" + encoded + "%20"), std::string::npos);
  // Shown as text it stays escaped HTML.
  EXPECT_NE(text.find("Ice &amp; Fire #1+%/\u00E9"), std::string::npos);
  EXPECT_NE(text.find("src=\"x%20%23%25%26_covers/_tmptrk0.jpg\""), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.path() / "out #%&" / "x #%&_covers" / "_tmptrk0.jpg"));
}

}  // namespace
}  // namespace tunora
