// The client over libcurl. Proxies come from the environment (http_proxy,
// no_proxy), as libcurl reads them by default.

#include <curl/curl.h>

#include <memory>
#include <string>

#include "coversearch/http_curl_module.h"

namespace tunora {
namespace {

struct EasyCloser {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListCloser {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using EasyHandle = std::unique_ptr<CURL, EasyCloser>;

std::size_t receive(char* data, std::size_t size, std::size_t count, void* context) {
  auto& buffer = *static_cast<ResponseBuffer*>(context);
  const std::size_t length = size * count;
  buffer.append({reinterpret_cast<const std::uint8_t*>(data), length});
  // Fewer bytes than offered stop the transfer once the cap is reached.
  return buffer.full() ? 0 : length;
}

// A service's body up to its limit; one byte more ends the transfer.
struct LimitedBody {
  std::vector<std::uint8_t> bytes;
  std::size_t maxBytes = 0;
  bool tooLong = false;
};

std::size_t receiveLimited(char* data, std::size_t size, std::size_t count, void* context) {
  auto& body = *static_cast<LimitedBody*>(context);
  const std::size_t length = size * count;
  if (length > body.maxBytes - body.bytes.size()) {
    body.tooLong = true;
    return 0;
  }
  body.bytes.insert(body.bytes.end(), data, data + length);
  return length;
}

struct Transfer {
  EasyHandle easy;
  CURLcode result = CURLE_FAILED_INIT;
  std::string error;
};

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
    return perform(url, Payload::Page, [&](CURL* easy) {
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, copy.c_str());
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(copy.size()));
      curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    });
  }

  std::optional<std::vector<std::uint8_t>> get(std::string_view url) override {
    return perform(std::string(url), Payload::Page, [](CURL*) {});
  }

  std::optional<ServiceAnswer> getFromService(std::string_view url, std::string_view userAgent,
                                              std::size_t maxBytes) override {
    return fetchFromService(url, userAgent, maxBytes, Payload::Page);
  }

  std::optional<ServiceAnswer> fetchFromService(std::string_view url, std::string_view userAgent,
                                                std::size_t maxBytes, Payload payload) override {
    return fetchWhole(url, "http,https", userAgent, maxBytes, payload);
  }

  std::optional<ServiceAnswer> getPicture(std::string_view url, std::size_t maxBytes) override {
    // Addresses come from the store's pages: never let one name a local file.
    return fetchWhole(url, "http", kStoreUserAgent, maxBytes, Payload::Picture);
  }

 private:
  std::optional<ServiceAnswer> fetchWhole(std::string_view url, const char* protocols,
                                          std::string_view userAgent, std::size_t maxBytes,
                                          Payload payload) {
    LimitedBody body{{}, maxBytes};
    const std::string agent(userAgent);
    const Transfer transfer = start(std::string(url), protocols, payload, [&](CURL* handle) {
      curl_easy_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
      curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, receiveLimited);
      curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    });
    if (transfer.result != CURLE_OK) {
      setLastError(body.tooLong ? "the answer is larger than " + std::to_string(maxBytes) + " bytes"
                                : transfer.error);
      return std::nullopt;
    }
    ServiceAnswer answer;
    curl_easy_getinfo(transfer.easy.get(), CURLINFO_RESPONSE_CODE, &answer.status);
    const char* location = nullptr;
    if (curl_easy_getinfo(transfer.easy.get(), CURLINFO_REDIRECT_URL, &location) == CURLE_OK &&
        location != nullptr)
      answer.location = location;
    curl_off_t wait = -1;
    if (curl_easy_getinfo(transfer.easy.get(), CURLINFO_RETRY_AFTER, &wait) == CURLE_OK &&
        wait >= 0)
      answer.retryAfterSeconds = static_cast<long>(wait);
    answer.body = std::move(body.bytes);
    return answer;
  }

  template <typename Prepare>
  std::optional<std::vector<std::uint8_t>> perform(const std::string& url, Payload payload,
                                                   Prepare prepare) {
    ResponseBuffer buffer;
    // Addresses come from the store's pages: never let one name a local file.
    const Transfer transfer = start(url, "http", payload, [&](CURL* handle) {
      curl_easy_setopt(handle, CURLOPT_USERAGENT, kStoreUserAgent);
      curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, receive);
      curl_easy_setopt(handle, CURLOPT_WRITEDATA, &buffer);
      prepare(handle);
    });
    // A transfer stopped at the cap is a complete answer.
    if (transfer.result != CURLE_OK && !(transfer.result == CURLE_WRITE_ERROR && buffer.full())) {
      setLastError(transfer.error);
      return std::nullopt;
    }
    return buffer.take();
  }

  template <typename Prepare>
  Transfer start(const std::string& url, const char* protocols, Payload payload, Prepare prepare) {
    setLastStatus(0);
    setLastError({});
    Transfer transfer{EasyHandle(curl_easy_init()), CURLE_FAILED_INIT, {}};
    CURL* handle = transfer.easy.get();
    if (handle == nullptr) {
      transfer.error = "no transfer could be started";
      return transfer;
    }
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, timeouts_.connectSeconds);
    // No byte for the receive time-out ends the request, as WinINet's does.
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, timeouts_.receiveSeconds);
    const long deadline = payload == Payload::Picture ? timeouts_.pictureDeadlineSeconds
                                                      : timeouts_.pageDeadlineSeconds;
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, deadline);
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, error);
    prepare(handle);
    transfer.result = curl_easy_perform(handle);
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    setLastStatus(status);
    double seconds = 0;
    curl_easy_getinfo(handle, CURLINFO_TOTAL_TIME, &seconds);
    // The deadline is named as such; the other waits keep libcurl's words.
    // libcurl may end the transfer a little before its clock shows the
    // deadline whole, hence the margin.
    if (transfer.result == CURLE_OPERATION_TIMEDOUT &&
        seconds + 0.1 >= static_cast<double>(deadline))
      transfer.error = "no whole answer within " + std::to_string(deadline) + " s";
    else if (transfer.result != CURLE_OK)
      transfer.error = error[0] != '\0'
                           ? std::string(error)
                           : "transfer failed (libcurl code " +
                                 std::to_string(static_cast<int>(transfer.result)) + ")";
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, nullptr);
    return transfer;
  }

  HttpTimeouts timeouts_;
};

}  // namespace

void tunora_make_curl_client(HttpTimeouts timeouts, std::unique_ptr<HttpClient>& client) {
  client = std::make_unique<CurlHttpClient>(timeouts);
}

}  // namespace tunora
