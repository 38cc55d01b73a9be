// The server under load: fifty browsers on the event stream while a thousand
// pages are fetched. Memory stays where it was; the sanitizer tree finds any
// leak at the end.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <thread>
#include <vector>

#include "serve/page_server.h"
#include "serve/page_store.h"
#include "support/raw_http_posix.h"

namespace tunora {
namespace {

using namespace std::chrono_literals;
using testing::RawConnection;

#if defined(__SANITIZE_ADDRESS__)
// Freed memory waits in quarantine: the resident size only grows.
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// `count` fetches of the page over four connections at a time; the number
// that came back whole.
int fetchPages(std::uint16_t port, int count, const std::string& page) {
  std::atomic<int> whole = 0;
  std::vector<std::thread> clients;
  for (int c = 0; c < 4; ++c)
    clients.emplace_back([&] {
      for (int i = 0; i < count / 4; ++i)
        if (testing::httpGet(port, "/").body == page) ++whole;
    });
  for (auto& client : clients) client.join();
  return whole;
}

TEST(PageServerLoad, FiftyListenersAndAThousandPagesKeepMemoryFlat) {
  constexpr int kListeners = 50;
  constexpr int kFetches = 1000;
  PageStore store("<html></html>", 64);
  std::string error;
  auto server = makePageServer(store, ServerLimits{}, error);
  ASSERT_TRUE(server) << error;
  const auto port = server->listen(*parseListenAddress("127.0.0.1:0"), error);
  ASSERT_TRUE(port) << error;
  server->start();
  const std::string page = "<html>" + std::string(20000, 'p') + "</html>";
  store.publish(1, page, {});

  std::vector<std::unique_ptr<RawConnection>> listeners;
  for (int i = 0; i < kListeners; ++i) {
    listeners.push_back(RawConnection::open(*port));
    ASSERT_TRUE(listeners.back()->send(
        "GET /events HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(*port) + "\r\n\r\n"));
  }
  // A first round settles the threads' memory.
  EXPECT_EQ(fetchPages(*port, kFetches / 2, page), kFetches / 2);
  const std::size_t before = residentBytes();
  EXPECT_EQ(fetchPages(*port, kFetches, page), kFetches);
  const std::size_t after = residentBytes();
  if (kMemoryIsMeasurable) {
    EXPECT_LT(after, before + 2 * 1024 * 1024) << before << " -> " << after;
  }

  // Every listener is still there and hears the next page.
  store.publish(2, "<html>two</html>", {});
  for (auto& listener : listeners) {
    const std::string got = listener->readUntil(
        [](const std::string& text) { return text.find("data: 2\n\n") != text.npos; }, 2s);
    EXPECT_NE(got.find("data: 2\n\n"), std::string::npos);
  }
  store.close();
  server->stop();
}

}  // namespace
}  // namespace tunora
