// The WinINet client against the stand-in store: a store's redirect is its
// answer, never followed, and a service's redirect target comes whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "coversearch/http_client.h"
#include "support/store_server.h"
#include "support/temp_dir.h"

namespace tunora::standin {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string textOf(const std::optional<std::vector<std::uint8_t>>& body) {
  return body ? std::string(body->begin(), body->end()) : "(none)";
}

int requestsFor(const testing::StoreServer& server, const std::string& name) {
  int count = 0;
  for (const auto& request : server.requests())
    if (request.target.ends_with("/" + name)) ++count;
  return count;
}

TEST(WinInetClient, StoreRedirectsAreAnswersAndServiceLocationsComeWhole) {
  const TempDir pages;
  testing::StoreServer server(pages.path());
  ASSERT_TRUE(server.running());
  const std::string base = "http://" + server.host() + "/";
  std::ofstream(pages.path() / "target") << "followed";
  std::ofstream(pages.path() / "moved.redirect") << base + "target";
  std::ofstream(pages.path() / "search-handle-form.redirect") << base + "target";
  const auto client = makeStandaloneHttpClient({5, 5});

  // Both store verbs give the redirect's own (empty) body.
  EXPECT_EQ(textOf(client->get(base + "moved")), "");
  EXPECT_EQ(textOf(client->postForm(server.host(), "/search-handle-form", "a=b")), "");
  EXPECT_EQ(requestsFor(server, "target"), 0);

  // Locations around the lengths a fixed buffer would hold, and one as long
  // as Wine's reader takes a header line.
  for (const std::size_t length : {255u, 256u, 2047u, 2048u, 4000u}) {
    SCOPED_TRACE(length);
    std::string location = base + "t?q=";
    location.resize(length, 'x');
    std::ofstream(pages.path() / "far.redirect", std::ios::trunc) << location;
    const auto answer = client->getFromService(base + "far", "tunora-test", 1000);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 307);
    EXPECT_EQ(answer->location.size(), location.size());
    EXPECT_TRUE(answer->location == location);
  }
  EXPECT_EQ(requestsFor(server, "target"), 0);
}

}  // namespace
}  // namespace tunora::standin
