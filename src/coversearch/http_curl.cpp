// The client over libcurl. Proxies come from the environment (http_proxy,
// no_proxy), as libcurl reads them by default.

#include <curl/curl.h>

#include <memory>

#include "coversearch/http_client.h"

namespace tunora {
namespace {

struct EasyCloser {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListCloser {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::size_t receive(char* data, std::size_t size, std::size_t count, void* context) {
  auto& buffer = *static_cast<ResponseBuffer*>(context);
  const std::size_t length = size * count;
  buffer.append({reinterpret_cast<const std::uint8_t*>(data), length});
  // Fewer bytes than offered stop the transfer once the cap is reached.
  return buffer.full() ? 0 : length;
}

class CurlHttpClient final : public HttpClient {
 public:
  explicit CurlHttpClient(HttpTimeouts timeouts) : timeouts_(timeouts) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
  }
  ~CurlHttpClient() override { curl_global_cleanup(); }
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  std::optional<std::vector<std::uint8_t>> postForm(std::string_view host, std::string_view path,
                                                    std::string_view body) override {
    if (!splitHostPort(host)) return std::nullopt;
    const std::string url = "http://" + std::string(host) + std::string(path);
    const std::string copy(body);
    std::unique_ptr<curl_slist, ListCloser> headers(
        curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded"));
    curl_slist_append(headers.get(), "Accept: text/*, image/*");
    curl_slist_append(headers.get(), "Cache-Control: no-cache");
    curl_slist_append(headers.get(), "Connection: Keep-Alive");
    return perform(url, [&](CURL* easy) {
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, copy.c_str());
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(copy.size()));
      curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    });
  }

  std::optional<std::vector<std::uint8_t>> get(std::string_view url) override {
    return perform(std::string(url), [](CURL*) {});
  }

 private:
  template <typename Prepare>
  std::optional<std::vector<std::uint8_t>> perform(const std::string& url, Prepare prepare) {
    std::unique_ptr<CURL, EasyCloser> easy(curl_easy_init());
    if (!easy) return std::nullopt;
    ResponseBuffer buffer;
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    // Addresses come from the store's pages: never let one name a local file.
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kStoreUserAgent);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, timeouts_.connectSeconds);
    // No byte for the receive time-out ends the request, as WinINet's does.
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, timeouts_.receiveSeconds);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, receive);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &buffer);
    prepare(handle);
    const CURLcode result = curl_easy_perform(handle);
    // A transfer stopped at the cap is a complete answer.
    if (result != CURLE_OK && !(result == CURLE_WRITE_ERROR && buffer.full())) return std::nullopt;
    return buffer.take();
  }

  HttpTimeouts timeouts_;
};

}  // namespace

std::unique_ptr<HttpClient> makeHttpClient(void*, HttpTimeouts timeouts) {
  return std::make_unique<CurlHttpClient>(timeouts);
}

std::unique_ptr<HttpClient> makeStandaloneHttpClient(HttpTimeouts timeouts) {
  return makeHttpClient(nullptr, timeouts);
}

}  // namespace tunora
