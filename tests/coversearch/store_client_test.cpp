// The real client against the stand-in store on 127.0.0.1.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "coversearch/cover_scraper.h"
#include "coversearch/store_client.h"
#include "io/file.h"
#include "support/store_server.h"
#include "support/table_http_client.h"
#include "support/temp_dir.h"

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
  EXPECT_EQ(results[0].text, "Simon & Garfunkel");

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
  EXPECT_FALSE(downloadPicture(*client_, url("empty")));
}

TEST_F(StoreClient, FailuresEndSoon) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(downloadPicture(*client_, url("cut")));
  EXPECT_FALSE(downloadPicture(*client_, url("slow")));
  const std::string refused = "http://127.0.0.1:" + std::to_string(testing::refusingPort()) + "/x";
  EXPECT_FALSE(downloadPicture(*client_, refused));
  CoverResults results;
  EXPECT_FALSE(postSearchForm(*client_, refused.substr(7, refused.size() - 9), StoreVariant::Us,
                              "x", results));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
}

TEST_F(StoreClient, CoverOfAnotherHostArrivesThroughTheProxy) {
  const auto cover = findCover(*client_, url("B02"), StoreVariant::German);
  const auto original =
      readWholeFile(pathFromNative(std::string(TUNORA_FIXTURES_DIR) + "/jpeg/ycbcr.jpg"));
  ASSERT_TRUE(cover && original);
  EXPECT_EQ(*cover, *original);
  EXPECT_EQ(server_->requests().back().host, "images.store.test");
}

TEST(ServiceAnswers, BodiesUpToTheLimitAndNotOneByteMore) {
  testing::TempDir pages;
  StoreServer server(pages.path());
  ASSERT_TRUE(server.running());
  const auto client = makeStandaloneHttpClient({2, 2});
  const std::string base = "http://" + server.host() + "/size-";
  for (const std::size_t limit : {std::size_t{1000}, std::size_t{65536}}) {
    for (const bool picture : {false, true}) {
      const auto ask = [&](std::size_t size) {
        const std::string url = base + std::to_string(size);
        return picture ? client->getPicture(url, limit)
                       : client->fetchFromService(url, "t", limit, Payload::Page);
      };
      const auto whole = ask(limit);
      ASSERT_TRUE(whole) << limit << client->lastError();
      EXPECT_EQ(whole->body.size(), limit);
      EXPECT_FALSE(ask(limit + 1)) << limit;
      EXPECT_EQ(client->lastError(),
                "the answer is larger than " + std::to_string(limit) + " bytes");
    }
  }
}

// A page is read up to the mark, and the chunk that passes it is kept whole,
// whatever the size of the pieces the transfer delivers.
TEST(ResponseBufferUnit, KeepsEverythingUpToTheMarkAndOneChunkPastIt) {
  constexpr std::size_t kLimit = kResponseReadLimit;
  const struct {
    std::size_t offered;
    std::size_t piece;
    std::size_t kept;
  } cases[] = {
      {kLimit, kResponseChunkSize, kLimit},
      {kLimit + 1, kResponseChunkSize, kLimit + 1},
      {300000, kResponseChunkSize, 199 * kResponseChunkSize},
      {300000, 300000, 199 * kResponseChunkSize},
      {300000, 7, (kLimit / 7 + 1) * 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.offered) + " in pieces of " + std::to_string(c.piece));
    ResponseBuffer buffer;
    const std::vector<std::uint8_t> bytes(c.offered, 'r');
    bool wantsMore = true;
    for (std::size_t at = 0; at < bytes.size() && wantsMore; at += c.piece)
      wantsMore = buffer.append(std::span(bytes).subspan(at, std::min(c.piece, bytes.size() - at)));
    EXPECT_EQ(wantsMore, c.kept <= kLimit);
    EXPECT_EQ(buffer.full(), c.kept > kLimit);
    EXPECT_EQ(buffer.take().size(), c.kept);
  }
}

// A client that only reads up to the response cap gives no picture past it.
TEST(ServiceAnswers, PictureOfACappedClientIsRefusedPastTheMark) {
  testing::TableHttpClient client;
  client.pages["http://i/at"] = std::string(kResponseReadLimit, 'p');
  client.pages["http://i/past"] = std::string(kResponseReadLimit + 1, 'p');
  const auto at = client.getPicture("http://i/at", kMaxPictureBytes);
  ASSERT_TRUE(at);
  EXPECT_EQ(at->body.size(), kResponseReadLimit);
  EXPECT_FALSE(client.getPicture("http://i/past", kMaxPictureBytes));
  EXPECT_EQ(client.lastError(),
            "the picture is larger than " + std::to_string(kResponseReadLimit) + " bytes");
}

// Every failing request names the host and the reason, and no request
// outlives its deadline, however slowly the server keeps sending.
TEST(StoreNetwork, FailuresNameHostAndReasonWithinTheDeadline) {
  testing::TempDir pages;
  const auto& dir = pages.path();
  StoreServer server(dir);
  ASSERT_TRUE(server.running());
  const std::string host = server.host();
  const std::string refused = "127.0.0.1:" + std::to_string(testing::refusingPort());
  const auto jpeg = readWholeFile(testing::fixturePath("jpeg/ycbcr.jpg"));
  ASSERT_TRUE(jpeg);
  writePage(dir / "whole.jpg", std::string(jpeg->begin(), jpeg->end()));

  enum class Ask { Search, Picture };
  struct Case {
    Ask ask;
    std::string searchPage;  // the search form's answer, with its state files
    std::string target;      // the store host, or the picture's path
    std::string reason;      // the failure after "HOST: "; empty for success
  };
  const std::string form = "search-handle-form";
  const std::vector<Case> cases{
      {Ask::Search, "<a href=/detail/1>x</a>", host, ""},
      {Ask::Search, "", host, "empty answer"},
      {Ask::Search, "status 500", host, "HTTP status 500"},
      {Ask::Search, "redirect", host, "HTTP status 307"},
      {Ask::Search, "trickle", host, "no whole answer within 1 s"},
      {Ask::Search, "x", refused, "*"},
      {Ask::Picture, "", "whole.jpg", ""},
      {Ask::Picture, "", "failing", "HTTP status 500"},
      {Ask::Picture, "", "empty", "empty answer"},
      {Ask::Picture, "", "trickle", "no whole answer within 1 s"},
      {Ask::Picture, "", "cut", "*"},
  };
  const auto client = makeStandaloneHttpClient({2, 2, 1, 1});
  for (const Case& c : cases) {
    for (const char* state : {".status", ".redirect", ".trickle"})
      std::filesystem::remove(dir / (form + state));
    if (c.searchPage == "status 500") writePage(dir / (form + ".status"), "500");
    if (c.searchPage == "redirect") writePage(dir / (form + ".redirect"), "http://" + host + "/");
    if (c.searchPage == "trickle") writePage(dir / (form + ".trickle"), "");
    writePage(dir / form, c.searchPage);

    const auto started = std::chrono::steady_clock::now();
    bool found = false;
    CoverFetch fetch{true, {}};
    std::string failedHost = c.target;
    if (c.ask == Ask::Search) {
      CoverResults results;
      found = postSearchForm(*client, c.target, StoreVariant::Us, "k", results, &fetch.failure);
    } else {
      found = downloadPicture(*client, "http://" + host + "/" + c.target, &fetch).has_value();
      failedHost = host;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3)) << c.target;
    EXPECT_EQ(found, c.reason.empty()) << c.target << " " << fetch.failure;
    if (c.reason == "*") {
      // libcurl's own words: only that there are some.
      EXPECT_GT(fetch.failure.size(), failedHost.size() + 2) << fetch.failure;
      EXPECT_EQ(fetch.failure.rfind(failedHost + ": ", 0), 0u) << fetch.failure;
    } else if (!c.reason.empty()) {
      EXPECT_EQ(fetch.failure, failedHost + ": " + c.reason) << c.target;
    }
  }
}

}  // namespace
}  // namespace tunora
