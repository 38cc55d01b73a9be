// The client over WinINet, through the plug-in's (or the tool's) Internet
// session. Both verbs go through one connect-open-send sequence, so that the
// time-outs can be set on each request: WinINet does not take them from the
// session for every kind of handle.

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>

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
// A store's redirect is its answer, as libcurl gives it: WinINet would
// otherwise follow it to wherever it points, another scheme or host too.
constexpr DWORD kNoRedirect = INTERNET_FLAG_NO_AUTO_REDIRECT;

// WinINet has no overall time limit, only one per wait: a server that sends
// a byte now and then would keep a request alive for ever. Each read takes
// what has arrived, and the clock is looked at between reads.
class Deadline {
 public:
  explicit Deadline(long seconds)
      : seconds_(seconds), end_(std::chrono::steady_clock::now() + std::chrono::seconds(seconds)) {}
  bool passed() const { return std::chrono::steady_clock::now() >= end_; }
  std::string reason() const { return "no whole answer within " + std::to_string(seconds_) + " s"; }

 private:
  long seconds_;
  std::chrono::steady_clock::time_point end_;
};

// Up to `buffer.size()` bytes of what has arrived, waiting for the first; 0
// at the end of the body, nothing on an error or past the deadline.
std::optional<DWORD> readArrived(HINTERNET request, std::span<std::uint8_t> buffer,
                                 const Deadline& deadline, std::string& failure) {
  if (deadline.passed()) {
    failure = deadline.reason();
    return std::nullopt;
  }
  DWORD available = 0;
  if (!InternetQueryDataAvailable(request, &available, 0, 0)) return std::nullopt;
  if (available == 0) return 0;
  DWORD count = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(available, buffer.size()));
  if (!InternetReadFile(request, buffer.data(), wanted, &count)) return std::nullopt;
  return count;
}

// A body shorter than its announced length was cut off on the way.
bool cutShort(HINTERNET request, std::size_t received) {
  DWORD announced = 0;
  DWORD size = sizeof announced;
  return HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced,
                        &size, nullptr) &&
         received < announced;
}

std::optional<std::vector<std::uint8_t>> readResponse(HINTERNET request, const Deadline& deadline,
                                                      std::string& failure) {
  ResponseBuffer buffer;
  std::uint8_t chunk[kResponseChunkSize];
  std::size_t received = 0;
  while (!buffer.full()) {
    const auto arrived = readArrived(request, chunk, deadline, failure);
    if (!arrived) return std::nullopt;
    const DWORD count = *arrived;
    if (count == 0) {
      if (cutShort(request, received)) return std::nullopt;
      break;
    }
    received += count;
    buffer.append({chunk, count});
  }
  return buffer.take();
}

// The answer's HTTP status; 0 when the request has none.
long statusOf(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr))
    return 0;
  return static_cast<long>(status);
}

// A service's body up to `maxBytes`; nothing when it is longer, with the
// reason in `failure`.
std::optional<std::vector<std::uint8_t>> readLimited(HINTERNET request, std::size_t maxBytes,
                                                     const Deadline& deadline,
                                                     std::string& failure) {
  std::vector<std::uint8_t> body;
  std::uint8_t chunk[kResponseChunkSize];
  while (true) {
    const auto arrived = readArrived(request, chunk, deadline, failure);
    if (!arrived) return std::nullopt;
    const DWORD count = *arrived;
    if (count == 0) break;
    if (count > maxBytes - body.size()) {
      failure = "the answer is larger than " + std::to_string(maxBytes) + " bytes";
      return std::nullopt;
    }
    body.insert(body.end(), chunk, chunk + count);
  }
  if (cutShort(request, body.size())) return std::nullopt;
  return body;
}

// The whole header, however long: WinINet names the size it needs when the
// first buffer is too small.
std::string headerText(HINTERNET request, DWORD query) {
  std::string text(256, '\0');
  DWORD size = static_cast<DWORD>(text.size());
  if (!HttpQueryInfoA(request, query, text.data(), &size, nullptr)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    text.assign(size + 1, '\0');
    size = static_cast<DWORD>(text.size());
    if (!HttpQueryInfoA(request, query, text.data(), &size, nullptr)) return {};
  }
  text.resize(size);
  return text;
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
  std::string headers;
  std::string body;
};

// The parts of an "http://" or "https://" URL as a request; nothing for
// another scheme.
std::optional<Request> getRequestOf(std::string_view url, bool anySecure) {
  const std::string copy(url);
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(copy.c_str(), 0, 0, &parts)) return std::nullopt;
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && !(secure && anySecure)) return std::nullopt;
  std::string object(parts.lpszUrlPath, parts.dwUrlPathLength);
  object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (object.empty()) object = "/";
  return Request{"GET", {host, parts.nPort}, object, secure ? INTERNET_FLAG_SECURE : 0u, {}, {}};
}

// The request under way, which a cancel from another thread may close
// first: closing its handle ends every blocking call on it.
class Transfers {
 public:
  // Takes the request as the one under way; false (and it is closed) while
  // cancelled.
  bool begin(HINTERNET request) {
    const std::lock_guard lock(mutex_);
    if (cancelled_) {
      InternetCloseHandle(request);
      return false;
    }
    current_ = request;
    return true;
  }
  // Closes the request unless a cancel closed it already.
  void end(HINTERNET request) {
    const std::lock_guard lock(mutex_);
    if (current_ != request) return;
    current_ = nullptr;
    InternetCloseHandle(request);
  }
  void setCancelled(bool cancelled) {
    const std::lock_guard lock(mutex_);
    cancelled_ = cancelled;
    if (cancelled && current_ != nullptr) InternetCloseHandle(std::exchange(current_, nullptr));
  }

 private:
  std::mutex mutex_;
  HINTERNET current_ = nullptr;
  bool cancelled_ = false;
};

struct RequestEnder {
  Transfers* transfers;
  void operator()(HINTERNET request) const { transfers->end(request); }
};
using RequestHandle = std::unique_ptr<void, RequestEnder>;

// The request's handle with the connection it was opened on, closed
// request first.
struct SentRequest {
  InternetHandle connection;
  RequestHandle request{nullptr, {nullptr}};
  explicit operator bool() const { return request != nullptr; }
  HINTERNET get() const { return request.get(); }
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
    const auto handle =
        send({"POST", *target, std::string(path), kFormFlags | kNoRedirect,
              "Content-Type: application/x-www-form-urlencoded\r\n", std::string(body)});
    if (!handle) return std::nullopt;
    setLastStatus(statusOf(handle.get()));
    return readWithin(handle.get(), timeouts_.pageDeadlineSeconds);
  }

  std::optional<std::vector<std::uint8_t>> get(std::string_view url) override {
    auto request = getRequestOf(url, false);
    if (!request) return std::nullopt;
    request->flags |= kNoRedirect;
    const auto handle = send(*request);
    if (!handle) return std::nullopt;
    setLastStatus(statusOf(handle.get()));
    return readWithin(handle.get(), timeouts_.pictureDeadlineSeconds);
  }

  std::optional<std::vector<std::uint8_t>> readWithin(HINTERNET request, long seconds) {
    std::string failure;
    auto body = readResponse(request, Deadline(seconds), failure);
    setLastError(failure);
    return body;
  }

  // A whole picture, up to `maxBytes`, which may be more than the store's
  // response cap.
  std::optional<ServiceAnswer> getPicture(std::string_view url, std::size_t maxBytes) override {
    setLastStatus(0);
    auto request = getRequestOf(url, false);
    if (!request) return std::nullopt;
    request->flags |= kNoRedirect;
    const auto handle = send(*request);
    if (!handle) return std::nullopt;
    auto answer = readAnswer(handle.get(), maxBytes, timeouts_.pictureDeadlineSeconds);
    if (answer) setLastStatus(answer->status);
    return answer;
  }

  std::optional<ServiceAnswer> getFromService(std::string_view url, std::string_view userAgent,
                                              std::size_t maxBytes) override {
    auto request = getRequestOf(url, true);
    if (!request) return std::nullopt;
    request->flags |= kNoRedirect | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD;
    request->headers = "User-Agent: " + std::string(userAgent) + "\r\n";
    const auto handle = send(*request);
    if (!handle) return std::nullopt;
    auto answer = readAnswer(handle.get(), maxBytes, timeouts_.pageDeadlineSeconds);
    if (!answer) return std::nullopt;
    answer->location = headerText(handle.get(), HTTP_QUERY_LOCATION);
    const std::string wait = headerText(handle.get(), HTTP_QUERY_RETRY_AFTER);
    if (!wait.empty() && wait.find_first_not_of("0123456789") == std::string::npos &&
        wait.size() < 9)
      answer->retryAfterSeconds = std::stol(wait);
    return answer;
  }

  // The status and a body of at most `maxBytes`, read within the deadline;
  // nothing, with the reason kept, otherwise.
  std::optional<ServiceAnswer> readAnswer(HINTERNET request, std::size_t maxBytes, long seconds) {
    std::string failure;
    auto body = readLimited(request, maxBytes, Deadline(seconds), failure);
    setLastError(failure);
    if (!body) return std::nullopt;
    ServiceAnswer answer;
    answer.status = statusOf(request);
    answer.body = std::move(*body);
    return answer;
  }

  void setCancelled(bool cancelled) override { transfers_.setCancelled(cancelled); }

 private:
  // The request sent, ready for its answer to be read; empty on failure.
  SentRequest send(const Request& request) {
    if (session_ == nullptr) return {};
    InternetHandle connection(InternetConnectA(session_, request.target.name.c_str(),
                                               request.target.port, "", "", INTERNET_SERVICE_HTTP,
                                               0, 0));
    if (!connection) {
      dropLastResponseInfo();
      return {};
    }
    const char* accepted[] = {"text/*", "image/*", nullptr};
    const HINTERNET opened =
        HttpOpenRequestA(connection.get(), request.verb.c_str(), request.object.c_str(), nullptr,
                         nullptr, accepted, request.flags, 0);
    if (opened == nullptr || !transfers_.begin(opened)) return {};
    RequestHandle handle(opened, {&transfers_});
    applyTimeouts(handle.get());
    // A header line of the request replaces the session's own.
    if (!request.headers.empty())
      HttpAddRequestHeadersA(handle.get(), request.headers.c_str(),
                             static_cast<DWORD>(request.headers.size()),
                             HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
    std::string body = request.body;
    if (!HttpSendRequestA(handle.get(), nullptr, 0, body.empty() ? nullptr : body.data(),
                          static_cast<DWORD>(body.size())))
      return {};
    return {std::move(connection), std::move(handle)};
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
  Transfers transfers_;
};

}  // namespace

std::unique_ptr<HttpClient> makeHttpClient(void* session, HttpTimeouts timeouts) {
  return std::make_unique<WinInetHttpClient>(static_cast<HINTERNET>(session), timeouts);
}

std::unique_ptr<HttpClient> makeStandaloneHttpClient(HttpTimeouts timeouts) {
  return std::make_unique<WinInetHttpClient>(timeouts);
}

}  // namespace tunora
