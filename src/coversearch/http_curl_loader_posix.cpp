// The tool's side of the libcurl client: the module is opened on the first
// client made.

#include "coversearch/http_curl_module.h"
#include "io/private_module.h"

namespace tunora {
namespace {

// Where libcurl cannot be loaded, every request fails as one to an
// unreachable host does.
class NoHttpClient final : public HttpClient {
 public:
  // As libcurl says when it cannot make a transfer.
  NoHttpClient() { setLastError("no transfer could be started"); }
  std::optional<std::vector<std::uint8_t>> postForm(std::string_view, std::string_view,
                                                    std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::vector<std::uint8_t>> get(std::string_view) override { return std::nullopt; }
  std::optional<ServiceAnswer> getFromService(std::string_view, std::string_view,
                                              std::size_t) override {
    return std::nullopt;
  }
};

}  // namespace

std::unique_ptr<HttpClient> makeHttpClient(void*, HttpTimeouts timeouts) {
  static auto* const make = privateModuleFunction<decltype(tunora_make_curl_client)>(
      TUNORA_CURL_MODULE, kCurlClientEntry);
  std::unique_ptr<HttpClient> client;
  if (make) make(timeouts, client);
  if (!client) client = std::make_unique<NoHttpClient>();
  return client;
}

std::unique_ptr<HttpClient> makeStandaloneHttpClient(HttpTimeouts timeouts) {
  return makeHttpClient(nullptr, timeouts);
}

}  // namespace tunora
