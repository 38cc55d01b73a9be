#include "support/raw_http_posix.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>

namespace tunora::testing {

std::unique_ptr<RawConnection> RawConnection::open(std::uint16_t port,
                                                   std::optional<int> receiveBuffer) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  auto connection = std::make_unique<RawConnection>(fd);
  if (receiveBuffer) setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &*receiveBuffer, sizeof *receiveBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return nullptr;
  return connection;
}

RawConnection::~RawConnection() {
  ::close(socket_);
}

bool RawConnection::send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

std::string RawConnection::readSome(std::size_t size, std::chrono::milliseconds timeout) {
  pollfd ready{socket_, POLLIN, 0};
  if (closed_ || ::poll(&ready, 1, static_cast<int>(timeout.count())) <= 0) return {};
  std::string bytes(size, '\0');
  const ssize_t got = ::recv(socket_, bytes.data(), size, 0);
  if (got <= 0) {
    closed_ = true;
    return {};
  }
  bytes.resize(static_cast<std::size_t>(got));
  return bytes;
}

std::string RawConnection::readUntil(const std::function<bool(const std::string&)>& enough,
                                     std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  std::string text;
  while (!closed_ && !enough(text)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    text += readSome(65536, left);
  }
  return text;
}

HttpAnswer sendRequest(std::uint16_t port, std::string_view request,
                       std::chrono::milliseconds timeout) {
  HttpAnswer answer;
  auto connection = RawConnection::open(port);
  if (!connection) return answer;
  connection->send(request);
  std::size_t bodyStart = std::string::npos;
  std::size_t length = 0;
  const std::string text = connection->readUntil(
      [&](const std::string& got) {
        if (bodyStart == std::string::npos) {
          const auto end = got.find("\r\n\r\n");
          if (end == std::string::npos) return false;
          bodyStart = end + 4;
          const auto at = got.find("Content-Length: ");
          if (at != std::string::npos && at < end)
            std::from_chars(got.data() + at + 16, got.data() + end, length);
        }
        return got.size() >= bodyStart + length;
      },
      timeout);
  if (!text.starts_with("HTTP/1.1 ") || text.size() < 12) return answer;
  std::from_chars(text.data() + 9, text.data() + 12, answer.status);
  if (bodyStart == std::string::npos) return answer;
  answer.head = text.substr(0, bodyStart);
  answer.body = text.substr(bodyStart);
  return answer;
}

HttpAnswer httpGet(std::uint16_t port, std::string_view path) {
  return sendRequest(port, "GET " + std::string(path) + " HTTP/1.1\r\nHost: 127.0.0.1:" +
                               std::to_string(port) + "\r\nConnection: close\r\n\r\n");
}

}  // namespace tunora::testing
