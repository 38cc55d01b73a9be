#include "io/private_module.h"

#include <gtest/gtest.h>

#include <string>

#include "coversearch/http_curl_module.h"
#include "follow/mpris_module.h"

namespace tunora {
namespace {

// The test program stands one folder deep in the build tree, as the tool
// does, so it finds the modules where the tool finds them.
TEST(PrivateModule, FindsTheEntryPointsOfTheModulesBuiltBesideIt) {
  struct Case {
    const char* module;
    const char* entry;
    bool found;
  };
  const Case cases[] = {
      {"http_curl.so", kCurlClientEntry, true},
      {"mpris_follow.so", kFollowPlayersEntry, true},
      // Each module holds its own entry point only.
      {"http_curl.so", kFollowPlayersEntry, false},
      {"mpris_follow.so", kCurlClientEntry, false},
      // Their other functions stay inside.
      {"http_curl.so", "_ZN6tunora12splitHostPortESt17basic_string_viewIcSt11char_traitsIcEE",
       false},
      {"missing.so", kCurlClientEntry, false},
      {"", kCurlClientEntry, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(privateModuleSymbol(c.module, c.entry) != nullptr, c.found)
        << c.module << " " << c.entry;
}

TEST(PrivateModule, MakesAWorkingClientThroughTheModule) {
  const auto make =
      privateModuleFunction<decltype(tunora_make_curl_client)>("http_curl.so", kCurlClientEntry);
  ASSERT_NE(make, nullptr);
  std::unique_ptr<HttpClient> client;
  make({1, 1}, client);
  ASSERT_NE(client, nullptr);
  // A host that is no number port fails before anything is sent.
  EXPECT_EQ(client->postForm("localhost:0", "/", ""), std::nullopt);
}

}  // namespace
}  // namespace tunora
