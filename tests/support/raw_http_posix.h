#pragma once
// A bare TCP client for the HTTP server's tests: it sends exactly the bytes
// a test gives, however malformed, and reads at the pace the test chooses.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tunora::testing {

class RawConnection {
 public:
  // A connection to 127.0.0.1:`port`; `receiveBuffer` bytes of the system's
  // buffer when given (a small one makes a slow reader that the server
  // notices). Nothing when it cannot connect.
  static std::unique_ptr<RawConnection> open(std::uint16_t port,
                                             std::optional<int> receiveBuffer = std::nullopt);
  // Takes the socket.
  explicit RawConnection(int socket) : socket_(socket) {}
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  // False when the server closed before all was sent.
  bool send(std::string_view bytes);
  // What arrives until `enough` holds for all read so far, the server
  // closes, or the time passed.
  std::string readUntil(const std::function<bool(const std::string&)>& enough,
                        std::chrono::milliseconds timeout);
  // Up to `size` bytes; empty when nothing came within the time.
  std::string readSome(std::size_t size, std::chrono::milliseconds timeout);
  // True once the server closed the connection.
  bool closed() const { return closed_; }

 private:
  int socket_;
  bool closed_ = false;
};

struct HttpAnswer {
  int status = 0;
  std::string head;
  std::string body;
};

// The answer to `request` (written whole, as is) on a new connection; status
// 0 when the server closed without one. Reads a body of Content-Length.
HttpAnswer sendRequest(std::uint16_t port, std::string_view request,
                       std::chrono::milliseconds timeout = std::chrono::seconds(5));

// A GET of `path` with Host "127.0.0.1:`port`".
HttpAnswer httpGet(std::uint16_t port, std::string_view path);

}  // namespace tunora::testing
