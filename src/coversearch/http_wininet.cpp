// The client over WinINet, through the plug-in's (or the tool's) Internet
// session. Its time-outs are WinINet's own.

#include <windows.h>
#include <wininet.h>

#include <memory>

#include "coversearch/http_client.h"

namespace tunora {
namespace {

struct InternetCloser {
  void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// Keep the connection; ask proxies and caches for a fresh page.
constexpr DWORD kFormFlags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kFormFlags == 0x400100);

std::optional<std::vector<std::uint8_t>> readResponse(HINTERNET request) {
  ResponseBuffer buffer;
  std::uint8_t chunk[kResponseChunkSize];
  while (!buffer.full()) {
    DWORD count = 0;
    if (!InternetReadFile(request, chunk, sizeof chunk, &count)) return std::nullopt;
    if (count == 0) break;
    buffer.append({chunk, count});
  }
  return buffer.take();
}

void dropLastResponseInfo() {
  DWORD error = 0;
  char text[1024];
  DWORD length = sizeof text;
  InternetGetLastResponseInfoA(&error, text, &length);
}

class WinInetHttpClient final : public HttpClient {
 public:
  explicit WinInetHttpClient(HINTERNET session) : session_(session) {}
  // Opens a session and closes it with the client.
  WinInetHttpClient()
      : owned_(InternetOpenA(kStoreUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)),
        session_(owned_.get()) {}

  std::optional<std::vector<std::uint8_t>> postForm(std::string_view host, std::string_view path,
                                                    std::string_view body) override {
    const auto target = splitHostPort(host);
    if (session_ == nullptr || !target) return std::nullopt;
    InternetHandle connection(InternetConnectA(session_, target->name.c_str(), target->port, "", "",
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
      dropLastResponseInfo();
      return std::nullopt;
    }
    const char* accepted[] = {"text/*", "image/*", nullptr};
    const std::string object(path);
    InternetHandle request(HttpOpenRequestA(connection.get(), "POST", object.c_str(), nullptr,
                                            nullptr, accepted, kFormFlags, 0));
    if (!request) return std::nullopt;
    constexpr char kHeader[] = "Content-Type: application/x-www-form-urlencoded";
    std::string copy(body);
    if (!HttpSendRequestA(request.get(), kHeader, sizeof kHeader - 1, copy.data(),
                          static_cast<DWORD>(copy.size())))
      return std::nullopt;
    return readResponse(request.get());
  }

  std::optional<std::vector<std::uint8_t>> get(std::string_view url) override {
    if (session_ == nullptr) return std::nullopt;
    const std::string copy(url);
    InternetHandle request(InternetOpenUrlA(session_, copy.c_str(), nullptr, 0, 0, 0));
    if (!request) return std::nullopt;
    return readResponse(request.get());
  }

 private:
  InternetHandle owned_;
  HINTERNET session_;
};

}  // namespace

std::unique_ptr<HttpClient> makeHttpClient(void* session, HttpTimeouts) {
  return std::make_unique<WinInetHttpClient>(static_cast<HINTERNET>(session));
}

std::unique_ptr<HttpClient> makeStandaloneHttpClient() {
  return std::make_unique<WinInetHttpClient>();
}

}  // namespace tunora
