// The client over WinINet, through the plug-in's (or the tool's) Internet
// session. Both verbs go through one connect-open-send sequence, so that the
// time-outs can be set on each request: WinINet does not take them from the
// session for every kind of handle.

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

// A body shorter than its announced length was cut off on the way.
bool cutShort(HINTERNET request, std::size_t received) {
  DWORD announced = 0;
  DWORD size = sizeof announced;
  return HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced,
                        &size, nullptr) &&
         received < announced;
}

std::optional<std::vector<std::uint8_t>> readResponse(HINTERNET request) {
  ResponseBuffer buffer;
  std::uint8_t chunk[kResponseChunkSize];
  std::size_t received = 0;
  while (!buffer.full()) {
    DWORD count = 0;
    if (!InternetReadFile(request, chunk, sizeof chunk, &count)) return std::nullopt;
    if (count == 0) {
      if (cutShort(request, received)) return std::nullopt;
      break;
    }
    received += count;
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

struct Request {
  std::string verb;
  HostAndPort target;
  std::string object;
  DWORD flags = 0;
  std::string_view headers;
  std::string body;
};

class WinInetHttpClient final : public HttpClient {
 public:
  WinInetHttpClient(HINTERNET session, HttpTimeouts timeouts)
      : session_(session), timeouts_(timeouts) {}
  // Opens a session and closes it with the client.
  explicit WinInetHttpClient(HttpTimeouts timeouts)
      : owned_(InternetOpenA(kStoreUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)),
        session_(owned_.get()),
        timeouts_(timeouts) {}

  std::optional<std::vector<std::uint8_t>> postForm(std::string_view host, std::string_view path,
                                                    std::string_view body) override {
    const auto target = splitHostPort(host);
    if (!target) return std::nullopt;
    return send({"POST", *target, std::string(path), kFormFlags,
                 "Content-Type: application/x-www-form-urlencoded", std::string(body)});
  }

  std::optional<std::vector<std::uint8_t>> get(std::string_view url) override {
    const std::string copy(url);
    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(copy.c_str(), 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTP)
      return std::nullopt;
    std::string object(parts.lpszUrlPath, parts.dwUrlPathLength);
    object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty()) object = "/";
    return send({"GET", {host, parts.nPort}, object, 0, {}, {}});
  }

 private:
  std::optional<std::vector<std::uint8_t>> send(Request request) {
    if (session_ == nullptr) return std::nullopt;
    InternetHandle connection(InternetConnectA(session_, request.target.name.c_str(),
                                               request.target.port, "", "", INTERNET_SERVICE_HTTP,
                                               0, 0));
    if (!connection) {
      dropLastResponseInfo();
      return std::nullopt;
    }
    const char* accepted[] = {"text/*", "image/*", nullptr};
    InternetHandle handle(HttpOpenRequestA(connection.get(), request.verb.c_str(),
                                           request.object.c_str(), nullptr, nullptr, accepted,
                                           request.flags, 0));
    if (!handle) return std::nullopt;
    applyTimeouts(handle.get());
    if (!HttpSendRequestA(handle.get(), request.headers.data(),
                          static_cast<DWORD>(request.headers.size()), request.body.data(),
                          static_cast<DWORD>(request.body.size())))
      return std::nullopt;
    return readResponse(handle.get());
  }

  void applyTimeouts(HINTERNET handle) const {
    DWORD connect = static_cast<DWORD>(timeouts_.connectSeconds * 1000);
    DWORD receive = static_cast<DWORD>(timeouts_.receiveSeconds * 1000);
    InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
  }

  InternetHandle owned_;
  HINTERNET session_;
  HttpTimeouts timeouts_;
};

}  // namespace

std::unique_ptr<HttpClient> makeHttpClient(void* session, HttpTimeouts timeouts) {
  return std::make_unique<WinInetHttpClient>(static_cast<HINTERNET>(session), timeouts);
}

std::unique_ptr<HttpClient> makeStandaloneHttpClient(HttpTimeouts timeouts) {
  return std::make_unique<WinInetHttpClient>(timeouts);
}

}  // namespace tunora
