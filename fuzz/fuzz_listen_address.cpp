// Feeds arbitrary text to the reader of --listen and, split at its first
// newline, to the Host check against what it parsed (or the default).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "serve/listen_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto newline = text.find('\n');
  const std::string_view listen = text.substr(0, newline);
  const std::string_view host = newline == std::string_view::npos ? text : text.substr(newline + 1);
  const auto parsed = tunora::parseListenAddress(listen);
  const auto address = parsed ? *parsed : *tunora::parseListenAddress(tunora::kDefaultListen);
  const std::uint16_t port = address.port == 0 ? 8719 : address.port;
  (void)tunora::hostMatches(address, port, host);
  // The address as a URL names it always matches.
  if (!tunora::hostMatches(address, port, tunora::hostAndPort(address, port))) __builtin_trap();
  (void)tunora::audienceNote(address, port);
  return 0;
}
