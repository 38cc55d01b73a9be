// tunora covers against the stand-in store.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "coversearch/http_client.h"
#include "io/file.h"
#include "support/cli_runner.h"
#include "support/store_server.h"
#include "support/temp_dir.h"
#include "text/conversions.h"

namespace tunora {
namespace {

using testing::CliResult;
using testing::runCli;

std::u16string u16(const std::string& text) {
  return widenLatin1(text);
}

TEST(CoversCommand, SearchesAndSavesTheCoverOfOneResult) {
  testing::TempDir dir;
  std::ofstream(dir.path() / "search-handle-form", std::ios::binary)
      << "<a href=\"/exec/obidos/ASIN/B7/\"><b>AC/DC</b> Back in Black</a>\n";
  std::ofstream(dir.path() / "B7", std::ios::binary)
      << "<html><body><img src=\"http://images.store.test/P/B7.LZZZZZZZ.jpg\">";
  std::filesystem::copy_file(std::string(TUNORA_FIXTURES_DIR) + "/jpeg/ycbcr.jpg",
                             dir.path() / "B7.LZZZZZZZ.jpg");
  testing::StoreServer server(dir.path());
  ASSERT_TRUE(server.running());
  const std::u16string host = u16(server.host());

  const CliResult found =
      runCli({u"covers", u"search", u"--store", u"de", u"--host", host, u"AC/DC", u"Back"});
  EXPECT_EQ(found.status, 0) << found.err;
  EXPECT_EQ(found.out, "Found 1 items\n1. AC/DC Back in Black\n   /exec/obidos/ASIN/B7/\n");
  EXPECT_EQ(server.requests().back().body,
            "size=10&field-keywords=AC%2FDC+Back&url=index%3Dpop-music-de");

  // The US variant reads the same page for other markers: nothing.
  const CliResult none = runCli({u"covers", u"search", u"--host", host, u"x"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "Found 0 items\n");

  const std::u16string target = dir.file("folder.jpg");
  const CliResult saved = runCli({u"covers", u"get", u"--store", u"de", u"--host", host,
                                  u"/exec/obidos/ASIN/B7/", u"-o", target});
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(readWholeFile(target), readWholeFile(testing::fixturePath("jpeg/ycbcr.jpg")));

  const CliResult missing =
      runCli({u"covers", u"get", u"--store", u"de", u"--host", host, u"/nothing", u"-o", target});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "tunora: No cover found for this item (" + server.host() + ": empty answer)\n");
}

TEST(CoversCommand, SearchTextsAreDecodedOnceAndShownWithoutControls) {
  testing::TempDir dir;
  std::ofstream(dir.path() / "search-handle-form", std::ios::binary)
      << "<a href=\"/exec/obidos/ASIN/B7\x1b[2J/\">AT&amp;amp;T \x1b[31mred\xC2\x9B</a>\n";
  testing::StoreServer server(dir.path());
  ASSERT_TRUE(server.running());
  const CliResult found =
      runCli({u"covers", u"search", u"--store", u"de", u"--host", u16(server.host()), u"x"});
  EXPECT_EQ(found.status, 0) << found.err;
  EXPECT_EQ(found.out,
            "Found 1 items\n1. AT&amp;T \\x1b[31mred\\u009b\n   /exec/obidos/ASIN/B7\\x1b[2J/\n");
}

// Only a whole picture is saved: anything else leaves no file, ends with
// status 1 and says where and why.
TEST(CoversCommand, GetSavesOnlyAWholeDecodablePicture) {
  testing::TempDir dir;
  const auto jpeg = readWholeFile(testing::fixturePath("jpeg/ycbcr.jpg"));
  ASSERT_TRUE(jpeg);
  const std::string picture(jpeg->begin(), jpeg->end());
  const auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir.path() / name, std::ios::binary) << bytes;
  };
  std::string huge = picture;
  huge.resize(kMaxPictureBytes + 1, '\0');
  const struct {
    std::string name;
    std::string bytes;
    std::string status;  // of the picture's answer; empty for 200
    std::string reason;  // empty when the picture is saved
  } cases[] = {
      {"whole", picture, "", ""},
      {"limit", picture + std::string(kMaxPictureBytes - picture.size(), '\0'), "", ""},
      {"error", picture, "500", "HTTP status 500"},
      {"html", "<html><body>No picture</body></html>\r\n", "", "the answer is no JPEG picture"},
      {"half", picture.substr(0, picture.size() / 2), "", "the JPEG picture does not decode"},
      {"huge", huge, "",
       "the answer is larger than " + std::to_string(kMaxPictureBytes) + " bytes"},
  };
  testing::StoreServer server(dir.path());
  ASSERT_TRUE(server.running());
  const std::u16string host = u16(server.host());
  for (const auto& c : cases) {
    const std::string image = c.name + ".LZZZZZZZ.jpg";
    write(c.name, "<html><body><img src=\"http://images.store.test/P/" + image + "\">");
    write(image, c.bytes);
    if (!c.status.empty()) write(image + ".status", c.status);
    const std::u16string target = dir.file("saved-" + c.name + ".jpg");
    const CliResult result = runCli(
        {u"covers", u"get", u"--store", u"de", u"--host", host, u16("/" + c.name), u"-o", target});
    if (c.reason.empty()) {
      EXPECT_EQ(result.status, 0) << c.name << result.err;
      const auto saved = readWholeFile(target);
      EXPECT_TRUE(saved && saved->size() == c.bytes.size()) << c.name;
    } else {
      EXPECT_EQ(result.status, 1) << c.name;
      EXPECT_EQ(result.err,
                "tunora: No cover found for this item (images.store.test: " + c.reason + ")\n");
      EXPECT_FALSE(fileExists(target)) << c.name;
    }
  }
}

TEST(CoversCommand, HelpOfEveryAction) {
  for (const Arguments& args : std::vector<Arguments>{{u"covers", u"--help"},
                                                      {u"covers", u"search", u"--help"},
                                                      {u"covers", u"search", u"x", u"-h"},
                                                      {u"covers", u"get", u"--help"}}) {
    const CliResult help = runCli(args);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: tunora", 0), 0u);
    EXPECT_EQ(help.err, "");
  }
}

TEST(CoversCommand, MusicBrainzListsReleasesAndSavesOnlyAJpeg) {
  testing::TempDir dir;
  std::ofstream(dir.path() / "ws_2_release", std::ios::binary)
      << R"({"releases":[{"id":"9f3c","title":"Back in Black","date":"1980-07-25",)"
         R"("artist-credit":[{"name":"AC/DC"}]}]})";
  std::ofstream(dir.path() / "release_9f3c_front-500.redirect") << "http://images.test/9f3c.jpg";
  std::filesystem::copy_file(std::string(TUNORA_FIXTURES_DIR) + "/jpeg/ycbcr.jpg",
                             dir.path() / "9f3c.jpg");
  std::filesystem::copy_file(std::string(TUNORA_FIXTURES_DIR) + "/jpeg/png_named.jpg",
                             dir.path() / "release_png_front-500");
  testing::StoreServer server(dir.path());
  ASSERT_TRUE(server.running());
  const std::u16string host = u16(server.host());

  const CliResult found =
      runCli({u"covers", u"search", u"--store", u"mb", u"--host", host, u"AC/DC", u"Back"});
  EXPECT_EQ(found.status, 0) << found.err;
  EXPECT_EQ(found.out, "Found 1 items\n1. AC/DC - Back in Black (1980)\n   9f3c\n");

  const std::u16string target = dir.file("folder.jpg");
  const CliResult saved =
      runCli({u"covers", u"get", u"--store", u"mb", u"--host", host, u"9f3c", u"-o", target});
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(readWholeFile(target), readWholeFile(testing::fixturePath("jpeg/ycbcr.jpg")));

  const std::u16string other = dir.file("other.jpg");
  const CliResult png =
      runCli({u"covers", u"get", u"--store", u"mb", u"--host", host, u"png", u"-o", other});
  EXPECT_EQ(png.status, 1);
  EXPECT_EQ(png.err, "tunora: No cover found for this item (" + server.host() +
                         ": the answer is no JPEG picture)\n");
  EXPECT_FALSE(fileExists(other));
}

TEST(CoversCommand, UsageErrorsAndAnUnreachableStore) {
  for (const Arguments& args :
       std::vector<Arguments>{{u"covers"},
                              {u"covers", u"find", u"x"},
                              {u"covers", u"search"},
                              {u"covers", u"search", u"--store", u"fr", u"x"},
                              {u"covers", u"search", u"--host"},
                              {u"covers", u"get", u"/link"},
                              {u"covers", u"get", u"/a", u"/b", u"-o", u"f.jpg"}})
    EXPECT_EQ(runCli(args).status, 2);
  const std::string refused = "127.0.0.1:" + std::to_string(testing::refusingPort());
  const CliResult failed = runCli({u"covers", u"search", u"--host", u16(refused), u"x"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err.rfind("tunora: cannot search " + refused + ": ", 0), 0u) << failed.err;
  EXPECT_GT(failed.err.size(), 40u);
}

}  // namespace
}  // namespace tunora
