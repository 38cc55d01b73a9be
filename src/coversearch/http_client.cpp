#include "coversearch/http_client.h"

#include <algorithm>
#include <charconv>

namespace tunora {

bool ResponseBuffer::append(std::span<const std::uint8_t> piece) {
  while (!piece.empty() && !full()) {
    const std::size_t count = std::min(piece.size(), kResponseChunkSize);
    bytes_.insert(bytes_.end(), piece.begin(), piece.begin() + count);
    piece = piece.subspan(count);
  }
  return !full();
}

std::optional<HostAndPort> splitHostPort(std::string_view host) {
  const std::size_t colon = host.rfind(':');
  if (colon == std::string_view::npos) return HostAndPort{std::string(host), 80};
  const std::string_view digits = host.substr(colon + 1);
  unsigned port = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || port == 0 ||
      port > 65535)
    return std::nullopt;
  return HostAndPort{std::string(host.substr(0, colon)), static_cast<std::uint16_t>(port)};
}

}  // namespace tunora
