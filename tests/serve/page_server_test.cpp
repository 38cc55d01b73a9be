// The HTTP server as the tool runs it (its module, cpp-httplib), on a page
// store of the test's own, against clients that misbehave.

#include "serve/page_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "serve/page_store.h"
#include "support/child_process.h"
#include "support/raw_http_posix.h"

namespace tunora {
namespace {

using namespace std::chrono_literals;
using testing::httpGet;
using testing::RawConnection;
using testing::sendRequest;

constexpr std::size_t kEventSeats = 64;

class PageServerTest : public ::testing::Test {
 protected:
  void start(const std::string& page, ServerLimits limits = {}, std::size_t seats = kEventSeats) {
    store = std::make_unique<PageStore>(page, seats);
    std::string error;
    server = makePageServer(*store, limits, error);
    ASSERT_TRUE(server) << error;
    const auto bound = server->listen(*parseListenAddress("127.0.0.1:0"), error);
    ASSERT_TRUE(bound) << error;
    port = *bound;
    server->start();
  }
  void TearDown() override {
    if (store) store->close();
    if (server) server->stop();
  }
  std::string host() const { return "Host: 127.0.0.1:" + std::to_string(port) + "\r\n"; }

  // An event stream as a browser opens it, read up to its first version.
  std::unique_ptr<RawConnection> listen() {
    auto events = RawConnection::open(port);
    if (!events || !events->send("GET /events HTTP/1.1\r\n" + host() + "\r\n")) return nullptr;
    const std::string first = events->readUntil(
        [](const std::string& got) { return got.find("data: ") != got.npos; }, 2s);
    if (first.find("text/event-stream") == std::string::npos) return nullptr;
    return events;
  }

  std::unique_ptr<PageStore> store;
  std::unique_ptr<PageServer> server;
  std::uint16_t port = 0;
};

bool showsVersion(RawConnection& events, std::uint64_t version, std::chrono::milliseconds within) {
  const std::string wanted = "data: " + std::to_string(version) + "\n\n";
  return events
             .readUntil([&](const std::string& got) { return got.find(wanted) != got.npos; },
                        within)
             .find(wanted) != std::string::npos;
}

TEST_F(PageServerTest, ServesThePageItsCoversAndNothingElse) {
  start("<html>waiting</html>");
  ServedCovers covers;
  covers.emplace("0123456789abcdef.jpg",
                 std::make_shared<const ServedCover>(ServedCover{"image/jpeg", "JPEG"}));
  store->publish(1, "<html>Café</html>", std::move(covers));

  const auto page = httpGet(port, "/");
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.body, "<html>Café</html>");
  EXPECT_NE(page.head.find("Content-Type: text/html; charset=utf-8"), std::string::npos);
  EXPECT_NE(page.head.find("Cache-Control: no-store"), std::string::npos);
  const auto cover = httpGet(port, "/cover/0123456789abcdef.jpg");
  EXPECT_EQ(cover.status, 200);
  EXPECT_EQ(cover.body, "JPEG");
  EXPECT_NE(cover.head.find("Content-Type: image/jpeg"), std::string::npos);

  for (const char* path :
       {"/cover/0123456789abcdee.jpg", "/cover/0123456789abcdef.png", "/cover/0123456789abcdef",
        "/cover/", "/index.html", "/events/", "/%2e%2e/%2e%2e/etc/passwd", "/../../etc/passwd",
        "/cover/../../etc/passwd", "/cover/..%2f..%2fetc%2fpasswd", "//etc/passwd",
        "/cover/0123456789ABCDEF.jpg"}) {
    SCOPED_TRACE(path);
    const auto answer = httpGet(port, path);
    EXPECT_TRUE(answer.status == 404 || answer.status == 400) << answer.status;
    EXPECT_EQ(answer.body.find("root:"), std::string::npos);
  }
}

TEST_F(PageServerTest, HostileRequestsAreAnsweredOrDroppedWithoutHarm) {
  ServerLimits limits;
  limits.readTimeout = 1s;
  limits.keepAliveTimeout = 1s;
  start("<html>page</html>", limits);
  const std::string ownHost = host();
  const std::string port_ = std::to_string(port);
  struct Hostile {
    const char* name;
    std::string request;
    std::vector<int> statuses;  // 0: closed without an answer
  };
  std::string manyHeaders = "GET / HTTP/1.1\r\n" + ownHost;
  for (int i = 0; i < 200000; ++i) manyHeaders += "X: y\r\n";
  manyHeaders += "\r\n";
  const Hostile cases[] = {
      {"wrong host", "GET / HTTP/1.1\r\nHost: attacker.example:" + port_ + "\r\n\r\n", {421}},
      {"wrong port", "GET / HTTP/1.1\r\nHost: 127.0.0.1:1\r\n\r\n", {421}},
      {"no host", "GET / HTTP/1.0\r\n\r\n", {421}},
      {"empty host", "GET / HTTP/1.1\r\nHost: \r\n\r\n", {421, 400}},
      {"wrong host first",
       "GET / HTTP/1.1\r\nHost: attacker.example\r\n" + ownHost + "\r\n",
       {421}},
      {"wrong host on events", "GET /events HTTP/1.1\r\nHost: attacker.example\r\n\r\n", {421}},
      {"huge header",
       "GET / HTTP/1.1\r\n" + ownHost + "X-Big: " + std::string(100000, 'a') + "\r\n\r\n",
       {0, 400, 431}},
      {"many headers", manyHeaders, {0, 400}},
      {"huge path",
       "GET /" + std::string(100000, 'a') + " HTTP/1.1\r\n" + ownHost + "\r\n",
       {0, 400, 414}},
      {"body too large",
       "POST / HTTP/1.1\r\n" + ownHost + "Content-Length: 100000000\r\n\r\n",
       {413, 404, 0}},
      {"not http", "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", {0, 400}},
      {"absolute form", "GET http://attacker.example/ HTTP/1.1\r\n" + ownHost + "\r\n", {400, 404}},
  };
  for (const Hostile& c : cases) {
    SCOPED_TRACE(c.name);
    const auto answer = sendRequest(port, c.request);
    EXPECT_NE(std::find(c.statuses.begin(), c.statuses.end(), answer.status), c.statuses.end())
        << answer.status;
    if (answer.status != 200) {
      EXPECT_EQ(answer.body.find("<html>page"), std::string::npos);
    }
  }
  // Nothing of that kept the server from the page.
  EXPECT_EQ(httpGet(port, "/").status, 200);
}

TEST_F(PageServerTest, LocalhostReachesALoopbackServer) {
  start("<html>page</html>");
  const auto answer =
      sendRequest(port, "GET / HTTP/1.1\r\nHost: localhost:" + std::to_string(port) + "\r\n\r\n");
  EXPECT_EQ(answer.status, 200);
}

TEST_F(PageServerTest, EventsTellEveryNewVersion) {
  start("<html></html>");
  auto events = listen();
  ASSERT_TRUE(events);
  store->publish(1, "<html>one</html>", {});
  EXPECT_TRUE(showsVersion(*events, 1, 1s));
  store->publish(2, "<html>two</html>", {});
  EXPECT_TRUE(showsVersion(*events, 2, 1s));
  // A client that connects later is told the current version at once.
  auto late = RawConnection::open(port);
  ASSERT_TRUE(late->send("GET /events HTTP/1.1\r\n" + host() + "\r\n"));
  EXPECT_TRUE(showsVersion(*late, 2, 1s));
}

TEST_F(PageServerTest, EventSeatsAreLimitedAndFreedWhenAClientLeaves) {
  constexpr std::size_t kSeats = 2;
  ServerLimits limits;
  limits.eventKeepAlive = 100ms;
  start("<html></html>", limits, kSeats);
  std::vector<std::unique_ptr<RawConnection>> listeners;
  for (std::size_t i = 0; i < kSeats; ++i) {
    listeners.push_back(listen());
    ASSERT_TRUE(listeners.back()) << i;
  }
  EXPECT_EQ(httpGet(port, "/events").status, 503);
  // The keep-alive comment finds the client gone.
  listeners.pop_back();
  EXPECT_TRUE(testing::waitFor([&] { return httpGet(port, "/events").status != 503; }, 2s));
}

// A request's head of exactly the limit is served, one byte more is not;
// a head trickled in is dropped when its time is up, even though a byte
// comes well within the time of each read.
TEST_F(PageServerTest, ARequestMustArriveWithinItsBytesAndTime) {
  ServerLimits limits;
  limits.readTimeout = 1s;
  limits.requestBytes = 4096;
  start("<html>page</html>", limits);
  const auto head = [&](std::size_t size) {
    std::string request = "GET / HTTP/1.1\r\n" + host() + "X-Fill: ";
    request.append(size - request.size() - 4, 'a');
    return request + "\r\n\r\n";
  };
  EXPECT_EQ(sendRequest(port, head(4096)).status, 200);
  const int over = sendRequest(port, head(4097)).status;
  EXPECT_TRUE(over == 0 || over == 400) << over;

  auto trickle = RawConnection::open(port);
  ASSERT_TRUE(trickle->send("GET / HTTP/1.1\r\n" + host()));
  const auto began = std::chrono::steady_clock::now();
  for (int line = 0; line < 30 && !trickle->closed(); ++line) {
    if (!trickle->send("X-Line: " + std::to_string(line) + "\r\n")) break;
    trickle->readSome(64, 200ms);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - began, 3s);
  trickle->readUntil([](const std::string&) { return false; }, 1s);
  EXPECT_TRUE(trickle->closed());
}

TEST_F(PageServerTest, ASlowReaderHoldsNothingUpAndIsDropped) {
  ServerLimits limits;
  limits.writeTimeout = 1s;
  // More than the system buffers on both sides together.
  start(std::string(16 * 1024 * 1024, 'x'), limits);
  auto events = listen();
  ASSERT_TRUE(events);
  auto slow = RawConnection::open(port, 4096);
  ASSERT_TRUE(slow->send("GET / HTTP/1.1\r\n" + host() + "\r\n"));
  ASSERT_FALSE(slow->readSome(1, 1s).empty());

  // A new page reaches the others at once, while the slow one takes a byte
  // a second.
  const auto before = std::chrono::steady_clock::now();
  store->publish(1, "<html>one</html>", {});
  EXPECT_LT(std::chrono::steady_clock::now() - before, 50ms);
  EXPECT_TRUE(showsVersion(*events, 1, 500ms));
  EXPECT_EQ(httpGet(port, "/").body, "<html>one</html>");

  for (int second = 0; second < 3; ++second) {
    std::this_thread::sleep_for(1s);
    slow->readSome(1, 0ms);
  }
  // The server gave up on it: what sat in the buffers is all there is.
  const std::string rest = slow->readUntil([](const std::string&) { return false; }, 5s);
  EXPECT_TRUE(slow->closed());
  EXPECT_LT(rest.size(), 8u * 1024 * 1024);
}

}  // namespace
}  // namespace tunora
