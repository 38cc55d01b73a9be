#include "serve/listen_address.h"

#include <arpa/inet.h>

#include <array>
#include <charconv>

#include "text/ascii_case.h"

namespace tunora {
namespace {

constexpr std::string_view kLocalhost = "localhost";

struct SplitAddress {
  std::string_view address;
  std::string_view port;
  bool bracketed = false;
};

// "ADDR:PORT" or "[ADDR]:PORT"; the port may be missing in a Host header.
std::optional<SplitAddress> split(std::string_view text, bool portRequired) {
  SplitAddress split;
  std::string_view rest;
  if (text.starts_with('[')) {
    const auto close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    split.address = text.substr(1, close - 1);
    split.bracketed = true;
    rest = text.substr(close + 1);
  } else {
    const auto colon = text.find(':');
    split.address = text.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
  }
  if (rest.empty()) return portRequired ? std::nullopt : std::optional(split);
  if (rest.front() != ':') return std::nullopt;
  split.port = rest.substr(1);
  if (split.port.empty()) return std::nullopt;
  return split;
}

std::optional<std::uint16_t> parsePort(std::string_view text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  unsigned value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

// The address's bytes in network order: 4 for IPv4, 16 for IPv6.
struct NumericAddress {
  std::array<unsigned char, 16> bytes{};
  bool ipv6 = false;
};

std::optional<NumericAddress> numeric(std::string_view text, bool ipv6) {
  // inet_pton wants a terminated string; a NUL inside would cut it short.
  if (text.empty() || text.size() > 45 || text.find('\0') != std::string_view::npos)
    return std::nullopt;
  const std::string terminated(text);
  NumericAddress parsed;
  parsed.ipv6 = ipv6;
  if (inet_pton(ipv6 ? AF_INET6 : AF_INET, terminated.c_str(), parsed.bytes.data()) != 1)
    return std::nullopt;
  return parsed;
}

std::optional<NumericAddress> numericHost(const SplitAddress& split) {
  return numeric(split.address, split.bracketed);
}

bool isLoopback(const NumericAddress& address) {
  if (!address.ipv6) return address.bytes[0] == 127;
  static constexpr std::array<unsigned char, 16> kIpv6Loopback{0, 0, 0, 0, 0, 0, 0, 0,
                                                               0, 0, 0, 0, 0, 0, 0, 1};
  return address.bytes == kIpv6Loopback;
}

bool isWildcard(const NumericAddress& address) {
  const std::size_t size = address.ipv6 ? 16 : 4;
  for (std::size_t i = 0; i < size; ++i)
    if (address.bytes[i] != 0) return false;
  return true;
}

bool sameAddress(const NumericAddress& a, const NumericAddress& b) {
  return a.ipv6 == b.ipv6 && a.bytes == b.bytes;
}

}  // namespace

std::optional<ListenAddress> parseListenAddress(std::string_view text) {
  const auto parts = split(text, true);
  if (!parts) return std::nullopt;
  const auto port = parsePort(parts->port);
  if (!port) return std::nullopt;
  ListenAddress listen;
  listen.port = *port;
  if (!parts->bracketed && equalIgnoringAsciiCase(parts->address, kLocalhost)) {
    listen.address = "127.0.0.1";
    listen.loopback = true;
    return listen;
  }
  const auto address = numericHost(*parts);
  if (!address) return std::nullopt;
  listen.address = std::string(parts->address);
  listen.ipv6 = address->ipv6;
  listen.loopback = isLoopback(*address);
  listen.wildcard = isWildcard(*address);
  return listen;
}

std::string hostAndPort(const ListenAddress& listen, std::uint16_t port) {
  const std::string address = listen.ipv6 ? "[" + listen.address + "]" : listen.address;
  return address + ":" + std::to_string(port);
}

bool hostMatches(const ListenAddress& listen, std::uint16_t port, std::string_view host) {
  const auto parts = split(host, false);
  if (!parts) return false;
  const auto hostPort =
      parts->port.empty() ? std::optional<std::uint16_t>(80) : parsePort(parts->port);
  if (!hostPort || *hostPort != port) return false;
  if (!parts->bracketed && equalIgnoringAsciiCase(parts->address, kLocalhost))
    return listen.loopback || listen.wildcard;
  const auto named = numericHost(*parts);
  if (!named) return false;
  if (listen.wildcard) return true;
  const auto own = numeric(listen.address, listen.ipv6);
  return own && sameAddress(*named, *own);
}

std::optional<std::string> audienceNote(const ListenAddress& listen, std::uint16_t port) {
  if (listen.loopback) return std::nullopt;
  if (listen.wildcard)
    return "tunora: listening on all addresses: anyone who can reach this computer on port " +
           std::to_string(port) + " can see the page";
  return "tunora: anyone who can reach " + hostAndPort(listen, port) + " can see the page";
}

}  // namespace tunora
