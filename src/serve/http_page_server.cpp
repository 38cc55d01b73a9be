// The page server on cpp-httplib: routes, Host check and limits.

#include <httplib.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#include "serve/bounded_task_queue.h"
#include "serve/page_server.h"
#include "serve/request_stream_posix.h"

namespace tunora {
namespace {

// Nothing of the page is secret, but it is about what someone listens to:
// no other site gets it as a referrer, nothing caches it.
void setCommonHeaders(httplib::Response& response) {
  response.set_header("Cache-Control", "no-store");
  response.set_header("X-Content-Type-Options", "nosniff");
  response.set_header("Referrer-Policy", "no-referrer");
}

void answerPlain(httplib::Response& response, int status, const char* text) {
  response.status = status;
  setCommonHeaders(response);
  response.set_content(text, "text/plain; charset=utf-8");
}

// cpp-httplib's server reading each connection through a RequestStream.
class BoundedServer final : public httplib::Server {
 public:
  explicit BoundedServer(const RequestStream::Limits& limits) : limits_(limits) {}

 private:
  bool process_and_close_socket(socket_t socket) override {
    RequestStream stream(socket, limits_);
    const std::chrono::seconds idle{keep_alive_timeout_sec_};
    bool served = false;
    for (std::size_t left = keep_alive_max_count_; left > 0 && stream.awaitRequest(idle, svr_sock_);
         --left) {
      stream.beginRequest();
      bool closed = false;
      served = process_request(stream, left == 1, closed, nullptr);
      if (!served || closed || stream.overLimit()) break;
    }
    ::shutdown(socket, SHUT_RDWR);
    ::close(socket);
    return served;
  }

  const RequestStream::Limits limits_;
};

class HttpPageServer final : public PageServer {
 public:
  HttpPageServer(PageFeed& feed, const ServerLimits& limits)
      : feed_(feed),
        limits_(limits),
        server_({limits.requestBytes, limits.readTimeout, limits.writeTimeout}) {
    configure();
    route();
  }
  ~HttpPageServer() override { stop(); }

  std::optional<std::uint16_t> listen(const ListenAddress& address, std::string& error) override;
  void start() override;
  void stop() override;

 private:
  void configure();
  void route();
  void serveEvents(httplib::Response& response);

  PageFeed& feed_;
  const ServerLimits limits_;
  BoundedServer server_;
  std::shared_ptr<BoundedTaskQueue::Gate> gate_ = std::make_shared<BoundedTaskQueue::Gate>();
  ListenAddress address_;
  std::uint16_t port_ = 0;
  std::thread listening_;
  std::atomic<bool> ended_ = false;
};

void HttpPageServer::configure() {
  server_.new_task_queue = [this] {
    // The library takes the queue and deletes it when it stops listening.
    return std::make_unique<BoundedTaskQueue>(limits_.threads, limits_.waitingConnections, gate_)
        .release();
  };
  server_.set_keep_alive_timeout(limits_.keepAliveTimeout.count());
  server_.set_keep_alive_max_count(100);
  // Nothing served takes a body.
  server_.set_payload_max_length(1024);
  server_.set_tcp_nodelay(true);
  server_.set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        if (hostMatches(address_, port_, request.get_header_value("Host")))
          return httplib::Server::HandlerResponse::Unhandled;
        answerPlain(response, 421, "This server answers only to its own address.\n");
        return httplib::Server::HandlerResponse::Handled;
      });
  server_.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.status == 404) answerPlain(response, 404, "Not found.\n");
  });
}

void HttpPageServer::route() {
  server_.Get("/", [this](const httplib::Request&, httplib::Response& response) {
    const auto page = feed_.page();
    setCommonHeaders(response);
    response.set_content(page->html, "text/html; charset=utf-8");
  });
  server_.Get(R"(/cover/([0-9a-f]{16}\.(jpg|png)))",
              [this](const httplib::Request& request, httplib::Response& response) {
                const auto cover = feed_.cover(request.matches[1].str());
                if (!cover) return answerPlain(response, 404, "Not found.\n");
                response.set_header("X-Content-Type-Options", "nosniff");
                // The name is the content's hash: the same name never
                // stands for other bytes.
                response.set_header("Cache-Control", "max-age=31536000, immutable");
                response.set_content(cover->bytes, cover->contentType.c_str());
              });
  server_.Get("/events", [this](const httplib::Request&, httplib::Response& response) {
    serveEvents(response);
  });
}

void HttpPageServer::serveEvents(httplib::Response& response) {
  std::shared_ptr<EventSeat> seat = feed_.takeEventSeat();
  if (!seat) return answerPlain(response, 503, "Too many listeners.\n");
  setCommonHeaders(response);
  // The first event tells the version at once: a page loaded before a
  // change but connected after it catches up.
  auto seen = std::make_shared<std::optional<std::uint64_t>>();
  response.set_chunked_content_provider(
      "text/event-stream", [this, seat, seen](std::size_t, httplib::DataSink& sink) {
        if (feed_.closed()) return false;
        std::string event;
        if (!*seen) {
          event = "retry: 1000\n";
          *seen = feed_.page()->version;
        } else if (const auto version = feed_.waitForVersion(**seen, limits_.eventKeepAlive)) {
          *seen = *version;
        } else {
          if (feed_.closed()) return false;
          return sink.write(": keep-alive\n\n", 14);
        }
        event += "data: " + std::to_string(**seen) + "\n\n";
        return sink.write(event.data(), event.size());
      });
}

std::optional<std::uint16_t> HttpPageServer::listen(const ListenAddress& address,
                                                    std::string& error) {
  address_ = address;
  server_.set_address_family(address.ipv6 ? AF_INET6 : AF_INET);
  const int port = address.port == 0
                       ? server_.bind_to_any_port(address.address)
                       : (server_.bind_to_port(address.address, address.port) ? address.port : -1);
  if (port <= 0) {
    error = "cannot listen on " + hostAndPort(address, address.port) + ": " + std::strerror(errno);
    return std::nullopt;
  }
  port_ = static_cast<std::uint16_t>(port);
  return port_;
}

void HttpPageServer::start() {
  listening_ = std::thread([this] {
    // Ctrl-C and SIGTERM are for the thread that follows the player; the
    // server's threads, all started from this one, leave them alone.
    sigset_t end;
    sigemptyset(&end);
    sigaddset(&end, SIGINT);
    sigaddset(&end, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &end, nullptr);
    server_.listen_after_bind();
    ended_ = true;
  });
  // A stop before the server runs would find nothing to stop, and the
  // server would then run for good.
  while (!server_.is_running() && !ended_)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpPageServer::stop() {
  {
    const std::lock_guard lock(gate_->mutex);
    gate_->open = true;
  }
  gate_->changed.notify_all();
  server_.stop();
  if (listening_.joinable()) listening_.join();
}

}  // namespace

extern "C" void tunora_make_page_server(PageFeed& feed, const ServerLimits& limits,
                                        std::unique_ptr<PageServer>& server) {
  server = std::make_unique<HttpPageServer>(feed, limits);
}

}  // namespace tunora
