// tunora covers against the stand-in store.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
  EXPECT_EQ(missing.err, "tunora: No cover found for this item\n");
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
  EXPECT_EQ(png.err, "tunora: No cover found for this item\n");
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
  const std::u16string refused = u"127.0.0.1:" + u16(std::to_string(testing::refusingPort()));
  const CliResult failed = runCli({u"covers", u"search", u"--host", refused, u"x"});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err, "tunora: Error: Could not get search page\n");
}

}  // namespace
}  // namespace tunora
