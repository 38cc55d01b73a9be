#pragma once
// The transport of the cover search: a form POST to a store host and a plain
// GET of a URL, both answered with the body bytes, cut at the response cap
// (the status is kept aside, in lastStatus); a GET of a whole picture; and a
// GET as a web service's client, answered with status, redirect and body. One
// implementation per platform: http_wininet.cpp (the plug-in's Internet
// session), http_curl.cpp (libcurl, in a module of its own on Linux).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tunora {

// The store's pages are asked for with this user agent.
inline constexpr char kStoreUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1) Opera 7.54u1  [en]";

// A response is read in chunks of kResponseChunkSize bytes and reading stops
// after the first chunk that takes the total past kResponseReadLimit, so
// at most one chunk beyond that mark is kept; the rest is not read.
inline constexpr std::size_t kResponseBlockSize = 204801;
inline constexpr std::size_t kResponseReadLimit = kResponseBlockSize - 2048;
inline constexpr std::size_t kResponseChunkSize = 1024;

// The most a picture may take; a longer one is refused, never cut.
inline constexpr std::size_t kMaxPictureBytes = 16 * 1024 * 1024;

// The received bytes under the cut rule above. Data may arrive in pieces of
// any size; they are counted as the chunked reads would count them.
class ResponseBuffer {
 public:
  // Takes as much of `piece` as the rule allows; false once full.
  bool append(std::span<const std::uint8_t> piece);
  bool full() const { return bytes_.size() > kResponseReadLimit; }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Waits of the order of WinINet's own defaults; tests shorten them. Besides
// the wait for the next byte, a whole request has a deadline: a server that
// sends a byte now and then would otherwise hold a search for ever.
struct HttpTimeouts {
  long connectSeconds = 60;
  long receiveSeconds = 30;
  long pageDeadlineSeconds = 30;
  long pictureDeadlineSeconds = 60;
};

// What a request fetches: a page or a search answer, or a picture, which may
// take longer.
enum class Payload { Page, Picture };

// A web service's answer.
struct ServiceAnswer {
  long status = 0;
  // Where a redirect points, as the header gives it.
  std::string location;
  // How long to wait before asking again (a "Retry-After" in seconds).
  std::optional<long> retryAfterSeconds;
  std::vector<std::uint8_t> body;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;

  // POSTs `body` as "application/x-www-form-urlencoded" to `path` on `host`
  // (a name, optionally with ":port"). Nothing on any failure.
  virtual std::optional<std::vector<std::uint8_t>> postForm(std::string_view host,
                                                            std::string_view path,
                                                            std::string_view body) = 0;
  // GETs an absolute "http://" URL. Nothing on any failure.
  virtual std::optional<std::vector<std::uint8_t>> get(std::string_view url) = 0;
  // GETs an absolute "http://" or "https://" URL with `userAgent`, following
  // no redirect. Nothing when no answer arrived or its body is longer than
  // `maxBytes`.
  virtual std::optional<ServiceAnswer> getFromService(std::string_view url,
                                                      std::string_view userAgent,
                                                      std::size_t maxBytes) = 0;
  // getFromService within the deadline of `payload`. Clients without
  // deadlines of their own answer as getFromService does.
  virtual std::optional<ServiceAnswer> fetchFromService(std::string_view url,
                                                        std::string_view userAgent,
                                                        std::size_t maxBytes, Payload payload);
  // GETs a picture at an absolute "http://" URL that a store page names, as
  // get does, but whole: nothing when the body is longer than `maxBytes`.
  // Clients that only read up to the response cap give nothing past it.
  virtual std::optional<ServiceAnswer> getPicture(std::string_view url, std::size_t maxBytes);

  // From another thread: while set, the transfer under way ends as failed
  // and every new request fails at once. Clients that cannot abort ignore it.
  virtual void setCancelled(bool /*cancelled*/) {}

  // Why the last request gave nothing ("connection refused", "timed out
  // after 30 s", ...); empty where the client names no reason.
  const std::string& lastError() const { return lastError_; }
  // The status code of the last answer to postForm or get; 0 where the
  // client does not tell.
  long lastStatus() const { return lastStatus_; }

 protected:
  void setLastError(std::string reason) { lastError_ = std::move(reason); }
  void setLastStatus(long status) { lastStatus_ = status; }

 private:
  std::string lastError_;
  long lastStatus_ = 0;
};

// The host part of an absolute URL ("name" or "name:port"), for messages.
std::string_view hostOfUrl(std::string_view url);

// The host name and port of a host text "name" or "name:port" (default 80);
// nothing for a port that is not a number from 1 to 65535.
struct HostAndPort {
  std::string name;
  std::uint16_t port = 80;
};
std::optional<HostAndPort> splitHostPort(std::string_view host);

// The platform's client. `session` is the plug-in's WinINet session handle
// on Windows (null makes every request fail) and unused elsewhere.
std::unique_ptr<HttpClient> makeHttpClient(void* session, HttpTimeouts timeouts = {});
// A client with a session of its own, for programs without the plug-in's.
std::unique_ptr<HttpClient> makeStandaloneHttpClient(HttpTimeouts timeouts = {});

}  // namespace tunora
