#pragma once
// The HTTP server of `tunora serve`: the page at "/", its covers at
// "/cover/<hash>.<ext>", the page's version as Server-Sent Events at
// "/events", and a 404 for anything else; a request whose Host header does
// not name the listening address gets a 421. It lives in a module of its own
// that links cpp-httplib (io/private_module.h), opened when serve starts.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "serve/listen_address.h"
#include "serve/page_feed.h"

namespace tunora {

struct ServerLimits {
  // Connections served at once; each client of the event stream keeps one,
  // so this must stay above the number of event clients the feed seats.
  std::size_t threads = 96;
  // Accepted connections that wait for a thread; beyond them the server
  // stops accepting and new ones wait in the system's queue.
  std::size_t waitingConnections = 64;
  // A request must arrive whole within this time and these bytes (request
  // line and headers: ample for a browser with its cookies); a client that
  // takes nothing of the answer for the write time is dropped.
  std::chrono::seconds readTimeout{5};
  std::size_t requestBytes = 32 * 1024;
  std::chrono::seconds writeTimeout{5};
  // How long an idle kept-alive connection stays open.
  std::chrono::seconds keepAliveTimeout{5};
  // A comment on the event stream this often keeps proxies from closing it
  // and finds clients that left.
  std::chrono::milliseconds eventKeepAlive{10000};
};

class PageServer {
 public:
  virtual ~PageServer() = default;
  // The port it listens on (the one asked for, or the system's choice for
  // port 0); nothing, with the reason in `error`, when it cannot listen.
  virtual std::optional<std::uint16_t> listen(const ListenAddress& address, std::string& error) = 0;
  // Serves on threads of its own until stop(), which waits for them.
  virtual void start() = 0;
  virtual void stop() = 0;
};

// Nothing when the module or cpp-httplib is missing; `error` says why.
std::unique_ptr<PageServer> makePageServer(PageFeed& feed, const ServerLimits& limits,
                                           std::string& error);

// The module's one entry point, as makePageServer.
inline constexpr char kPageServerEntry[] = "tunora_make_page_server";
extern "C" [[gnu::visibility("default")]] void tunora_make_page_server(
    PageFeed& feed, const ServerLimits& limits, std::unique_ptr<PageServer>& server);

}  // namespace tunora
