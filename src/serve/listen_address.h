#pragma once
// Where `tunora serve` listens, as the user writes it ("127.0.0.1:8719",
// "[::1]:8080", "localhost:8719", "0.0.0.0:80"), and the Host headers that
// name it. Browsers send the Host they were told to reach; a page of another
// site that resolves its own name to this address (DNS rebinding) sends its
// own name and is refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tunora {

inline constexpr std::string_view kDefaultListen = "127.0.0.1:8719";

struct ListenAddress {
  // The numeric address to bind, without brackets ("::1").
  std::string address;
  // 0 asks the system for a free port.
  std::uint16_t port = 0;
  bool ipv6 = false;
  // 127.0.0.0/8 or ::1: only this computer reaches it.
  bool loopback = false;
  // Any of the computer's addresses (0.0.0.0, ::).
  bool wildcard = false;
};

// Only numeric addresses and "localhost" are taken: a name would need a
// lookup, and could stand for anything. Nothing for any other text.
std::optional<ListenAddress> parseListenAddress(std::string_view text);

// The address with its port as a browser writes it in a URL and in Host:
// "127.0.0.1:8719", "[::1]:8719".
std::string hostAndPort(const ListenAddress& listen, std::uint16_t port);

// True when a request's Host header names the address the server listens on
// (the port it really listens on, `port`): the address itself, and on a
// loopback address also "localhost". A server on all addresses cannot know
// its names: it takes any numeric address and "localhost", never a name, as
// a rebinding page always comes by a name. The port may be left out only
// when it is 80.
bool hostMatches(const ListenAddress& listen, std::uint16_t port, std::string_view host);

// One line that says who can see the page; nothing on a loopback address.
std::optional<std::string> audienceNote(const ListenAddress& listen, std::uint16_t port);

}  // namespace tunora
