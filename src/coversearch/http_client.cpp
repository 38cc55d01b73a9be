#include "coversearch/http_client.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tunora {

bool ResponseBuffer::append(std::span<const std::uint8_t> piece) {
  while (!piece.empty() && !full()) {
    const std::size_t count = std::min(piece.size(), kResponseChunkSize);
    bytes_.insert(bytes_.end(), piece.begin(), piece.begin() + count);
    piece = piece.subspan(count);
  }
  return !full();
}

std::optional<ServiceAnswer> HttpClient::fetchFromService(std::string_view url,
                                                          std::string_view userAgent,
                                                          std::size_t maxBytes, Payload) {
  return getFromService(url, userAgent, maxBytes);
}

std::optional<ServiceAnswer> HttpClient::getPicture(std::string_view url, std::size_t maxBytes) {
  lastStatus_ = 0;
  auto bytes = get(url);
  if (!bytes) return std::nullopt;
  // Past the cap the read stopped: the picture is cut.
  if (bytes->size() > maxBytes) {
    lastError_ = "the answer is larger than " + std::to_string(maxBytes) + " bytes";
    return std::nullopt;
  }
  if (bytes->size() > kResponseReadLimit) {
    lastError_ = "the picture is larger than " + std::to_string(kResponseReadLimit) + " bytes";
    return std::nullopt;
  }
  ServiceAnswer answer;
  answer.status = lastStatus_;
  answer.body = std::move(*bytes);
  return answer;
}

std::string_view hostOfUrl(std::string_view url) {
  const std::size_t scheme = url.find("://");
  if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
  return url.substr(0, url.find_first_of("/?#"));
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
