#include "serve/listen_address.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

struct ListenCase {
  std::string_view text;
  bool valid;
  std::string_view address = "";
  std::uint16_t port = 0;
  bool loopback = false;
  bool wildcard = false;
};

TEST(ListenAddress, TakesNumericAddressesAndLocalhostWithAPort) {
  const ListenCase cases[] = {
      {"127.0.0.1:8719", true, "127.0.0.1", 8719, true},
      {"127.255.0.9:1", true, "127.255.0.9", 1, true},
      {"localhost:80", true, "127.0.0.1", 80, true},
      {"LocalHost:80", true, "127.0.0.1", 80, true},
      {"[::1]:8080", true, "::1", 8080, true},
      {"[::]:8080", true, "::", 8080, false, true},
      {"0.0.0.0:8719", true, "0.0.0.0", 8719, false, true},
      {"192.168.1.20:8719", true, "192.168.1.20", 8719},
      {"128.0.0.1:8719", true, "128.0.0.1", 8719},
      // Port 0: the system chooses; 65535 is the last port, 65536 none.
      {"127.0.0.1:0", true, "127.0.0.1", 0, true},
      {"127.0.0.1:65535", true, "127.0.0.1", 65535, true},
      {"127.0.0.1:65536", false},
      {"127.0.0.1:99999", false},
      {"127.0.0.1:000080", false},
      {"127.0.0.1", false},
      {"127.0.0.1:", false},
      {":8719", false},
      {"127.0.0.1:+80", false},
      {"127.0.0.1:-1", false},
      {"127.0.0.1:80 ", false},
      {"256.0.0.1:80", false},
      {"127.1:80", false},
      {"example.com:80", false},
      {"::1:8080", false},
      {"[::1]", false},
      {"[::1]8080", false},
      {"[127.0.0.1]:80", false},
      {"[::1:8080", false},
      {std::string_view("127.0.0.1\0:80", 13), false},
      {"", false},
  };
  for (const ListenCase& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    const auto parsed = parseListenAddress(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid);
    if (!parsed) continue;
    EXPECT_EQ(parsed->address, c.address);
    EXPECT_EQ(parsed->port, c.port);
    EXPECT_EQ(parsed->loopback, c.loopback);
    EXPECT_EQ(parsed->wildcard, c.wildcard);
  }
}

TEST(ListenAddress, WritesTheAddressAsAUrlDoes) {
  EXPECT_EQ(hostAndPort(*parseListenAddress("127.0.0.1:0"), 4000), "127.0.0.1:4000");
  EXPECT_EQ(hostAndPort(*parseListenAddress("[::1]:0"), 4000), "[::1]:4000");
}

struct HostCase {
  std::string_view listen;
  std::string_view host;
  bool matches;
};

TEST(ListenAddress, HostMustNameTheListeningAddressAndPort) {
  constexpr std::uint16_t kPort = 8719;
  const HostCase cases[] = {
      {"127.0.0.1:8719", "127.0.0.1:8719", true},
      {"127.0.0.1:8719", "localhost:8719", true},
      {"127.0.0.1:8719", "LOCALHOST:8719", true},
      {"127.0.0.1:8719", "127.0.0.1:8718", false},
      {"127.0.0.1:8719", "127.0.0.1:8720", false},
      {"127.0.0.1:8719", "127.0.0.1", false},
      {"127.0.0.1:8719", "127.0.0.2:8719", false},
      // A rebinding page sends its own name.
      {"127.0.0.1:8719", "attacker.example:8719", false},
      {"127.0.0.1:8719", "localhost.attacker.example:8719", false},
      {"127.0.0.1:8719", "", false},
      {"127.0.0.1:8719", "127.0.0.1:8719:8719", false},
      {"[::1]:8719", "[::1]:8719", true},
      {"[::1]:8719", "[0:0:0:0:0:0:0:1]:8719", true},
      {"[::1]:8719", "localhost:8719", true},
      {"[::1]:8719", "127.0.0.1:8719", false},
      {"[::1]:8719", "::1:8719", false},
      // Another computer must name the address; "localhost" is never it.
      {"192.168.1.20:8719", "192.168.1.20:8719", true},
      {"192.168.1.20:8719", "localhost:8719", false},
      {"192.168.1.20:8719", "mybox.lan:8719", false},
      {"0.0.0.0:8719", "192.168.1.20:8719", true},
      {"0.0.0.0:8719", "[fe80::1]:8719", true},
      {"0.0.0.0:8719", "localhost:8719", true},
      {"0.0.0.0:8719", "mybox.lan:8719", false},
      {"0.0.0.0:8719", "192.168.1.20:80", false},
  };
  for (const HostCase& c : cases) {
    SCOPED_TRACE(std::string(c.listen) + " <- " + std::string(c.host));
    EXPECT_EQ(hostMatches(*parseListenAddress(c.listen), kPort, c.host), c.matches);
  }
}

TEST(ListenAddress, PortEightyMayBeLeftOut) {
  const auto listen = *parseListenAddress("127.0.0.1:80");
  EXPECT_TRUE(hostMatches(listen, 80, "127.0.0.1"));
  EXPECT_TRUE(hostMatches(listen, 80, "localhost"));
  EXPECT_FALSE(hostMatches(*parseListenAddress("127.0.0.1:81"), 81, "127.0.0.1"));
}

TEST(ListenAddress, OnlyOtherAddressesGetANoteOnWhoSeesThePage) {
  EXPECT_FALSE(audienceNote(*parseListenAddress("127.0.0.1:8719"), 8719));
  EXPECT_FALSE(audienceNote(*parseListenAddress("[::1]:8719"), 8719));
  EXPECT_EQ(audienceNote(*parseListenAddress("192.168.1.20:8719"), 8719),
            "tunora: anyone who can reach 192.168.1.20:8719 can see the page");
  const auto all = audienceNote(*parseListenAddress("0.0.0.0:0"), 4000);
  ASSERT_TRUE(all);
  EXPECT_NE(all->find("all addresses"), std::string::npos);
  EXPECT_NE(all->find("port 4000"), std::string::npos);
}

}  // namespace
}  // namespace tunora
