// The real client against the stand-in store on 127.0.0.1.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "coversearch/cover_scraper.h"
#include "coversearch/store_client.h"
#include "io/file.h"
#include "support/store_server.h"
#include "support/temp_dir.h"
#include "support/temp_folder.h"

namespace tunora {
namespace {

using testing::StoreServer;

void writePage(const std::filesystem::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

class StoreClient : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    pages_ = std::make_unique<testing::TempDir>();
    const auto& dir = pages_->path();
    writePage(dir / "search-handle-form",
              "<html><body>\n<a href=\"/gp/detail/B01\"><b>Simon &amp; Garfunkel</b></a>\n"
              "<a href=\"/exec/obidos/ASIN/B02/x\">Bookends</a>\n</body></html>");
    writePage(dir / "B02", "<html><body><img src=\"http://images.store.test/P/B02.LZZZZZZZ.jpg\">");
    std::filesystem::copy_file(std::string(TUNORA_FIXTURES_DIR) + "/jpeg/ycbcr.jpg",
                               dir / "B02.LZZZZZZZ.jpg");
    server_ = std::make_unique<StoreServer>(dir);
  }
  static void TearDownTestSuite() {
    server_.reset();
    pages_.reset();
  }
  void SetUp() override { ASSERT_TRUE(server_->running()); }

  std::string url(std::string_view path) const {
    return "http://" + server_->host() + "/" + std::string(path);
  }

  static std::unique_ptr<testing::TempDir> pages_;
  static std::unique_ptr<StoreServer> server_;
  std::unique_ptr<HttpClient> client_ = makeStandaloneHttpClient({2, 1});
};

std::unique_ptr<testing::TempDir> StoreClient::pages_;
std::unique_ptr<StoreServer> StoreClient::server_;

TEST_F(StoreClient, SearchPostsTheEncodedFormAndScrapesTheAnswer) {
  CoverResults results;
  const std::size_t before = server_->requests().size();
  ASSERT_TRUE(postSearchForm(*client_, server_->host(), StoreVariant::Us, "Simon & Garfunkel=1+2",
                             results));
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].link, "/gp/detail/B01");
  EXPECT_EQ(results[0].text, "Simon &amp; Garfunkel");

  ASSERT_TRUE(postSearchForm(*client_, server_->host(), StoreVariant::German, "B\xE4r", results));
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[1].link, "/exec/obidos/ASIN/B02/x");

  const auto requests = server_->requests();
  ASSERT_EQ(requests.size(), before + 2);
  const auto& us = requests[before];
  EXPECT_EQ(us.method, "POST");
  EXPECT_EQ(us.target, "/exec/obidos/search-handle-form/");
  EXPECT_EQ(us.host, server_->host());
  EXPECT_EQ(us.contentType, "application/x-www-form-urlencoded");
  EXPECT_EQ(us.userAgent, kStoreUserAgent);
  EXPECT_EQ(us.body, "size=10&field-keywords=Simon+%26+Garfunkel%3D1%2B2&url=index%3Dmusic");
  EXPECT_EQ(requests[before + 1].body, "size=10&field-keywords=B%E4r&url=index%3Dpop-music-de");
}

TEST_F(StoreClient, ResponsesAreCutAfterTheFirstChunkPastTheMark) {
  const auto page = fetchUrl(*client_, url("long"));
  ASSERT_TRUE(page);
  // 199 chunks of 1024 bytes: the first total above 204801 - 2048.
  EXPECT_EQ(page->size(), 199u * 1024u);
  EXPECT_GT(page->size(), kResponseReadLimit);
  EXPECT_LE(page->size(), kResponseReadLimit + kResponseChunkSize);
}

TEST_F(StoreClient, StatusIsIgnoredButAnEmptyBodyFails) {
  const auto missing = fetchUrl(*client_, url("missing"));
  ASSERT_TRUE(missing);
  EXPECT_EQ(std::string(missing->begin(), missing->end()), "<html>not here</html>");
  EXPECT_FALSE(fetchUrl(*client_, url("empty")));
  EXPECT_FALSE(downloadToTempFile(*client_, url("empty")));
}

TEST_F(StoreClient, FailuresLeaveNoTemporaryFile) {
  testing::TempDir temp;
  const testing::TempFolderOverride tempFolder(temp.path());
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(downloadToTempFile(*client_, url("cut")));
  EXPECT_FALSE(downloadToTempFile(*client_, url("slow")));
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing::refusingPort()) + "/x";
  EXPECT_FALSE(downloadToTempFile(*client_, refused));
  CoverResults results;
  EXPECT_FALSE(postSearchForm(*client_, refused.substr(7, refused.size() - 9), StoreVariant::Us,
                              "x", results));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
  EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
}

TEST_F(StoreClient, CoverOfAnotherHostArrivesThroughTheProxy) {
  const auto file = findCover(*client_, url("B02"), StoreVariant::German);
  ASSERT_TRUE(file);
  const auto saved = readWholeFile(pathFromNative(*file));
  const auto original =
      readWholeFile(pathFromNative(std::string(TUNORA_FIXTURES_DIR) + "/jpeg/ycbcr.jpg"));
  deleteFile(std::string_view(*file));
  ASSERT_TRUE(saved && original);
  EXPECT_EQ(*saved, *original);
  EXPECT_EQ(server_->requests().back().host, "images.store.test");
}

}  // namespace
}  // namespace tunora
