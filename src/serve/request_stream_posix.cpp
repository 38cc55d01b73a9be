#include "serve/request_stream_posix.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tunora {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool waitFor(int socket, short events, milliseconds time) {
  pollfd wanted{socket, events, 0};
  int ready;
  do {
    ready = ::poll(&wanted, 1, static_cast<int>(std::max(time.count(), milliseconds::rep{0})));
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
}

void numericName(const sockaddr_storage& address, socklen_t length, std::string& ip, int& port) {
  char host[NI_MAXHOST];
  char service[NI_MAXSERV];
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return;
  ip = host;
  port = std::atoi(service);
}

}  // namespace

bool RequestStream::awaitRequest(milliseconds idle, const std::atomic<int>& listening) {
  if (begin_ != end_) return true;
  // In short steps, so that a server that stops does not wait for the
  // idle time of every kept-alive connection.
  constexpr milliseconds kStep{50};
  const auto until = Clock::now() + idle;
  while (listening != INVALID_SOCKET) {
    const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
    if (left <= milliseconds::zero()) return false;
    if (waitFor(socket_, POLLIN, std::min(left, kStep))) return true;
  }
  return false;
}

void RequestStream::beginRequest() {
  bytesLeft_ = limits_.requestBytes;
  deadline_ = Clock::now() + limits_.requestTime;
}

milliseconds RequestStream::timeLeft() const {
  return std::chrono::duration_cast<milliseconds>(deadline_ - Clock::now());
}

bool RequestStream::is_readable() const {
  return begin_ != end_ ||
         (timeLeft() > milliseconds::zero() && waitFor(socket_, POLLIN, timeLeft()));
}

bool RequestStream::is_writable() const {
  return waitFor(socket_, POLLOUT, limits_.writeTime);
}

ssize_t RequestStream::read(char* ptr, size_t size) {
  // Past a limit the request reads as cut off, which the library answers
  // with 400 or by closing.
  if (bytesLeft_ == 0) {
    overLimit_ = true;
    return -1;
  }
  while (begin_ == end_) {
    if (!is_readable()) {
      overLimit_ = timeLeft() <= milliseconds::zero();
      return -1;
    }
    const ssize_t got = ::recv(socket_, buffer_.data(), buffer_.size(), MSG_DONTWAIT);
    if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (got <= 0) return got;
    begin_ = 0;
    end_ = static_cast<std::size_t>(got);
  }
  const std::size_t taken = std::min({size, end_ - begin_, bytesLeft_});
  std::memcpy(ptr, buffer_.data() + begin_, taken);
  begin_ += taken;
  bytesLeft_ -= taken;
  return static_cast<ssize_t>(taken);
}

// Only what the system takes at once: a reader too slow to make room within
// the write time is given up on.
ssize_t RequestStream::write(const char* ptr, size_t size) {
  while (is_writable()) {
    const ssize_t sent = ::send(socket_, ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) return sent;
  }
  return -1;
}

void RequestStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    numericName(address, length, ip, port);
}

void RequestStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    numericName(address, length, ip, port);
}

}  // namespace tunora
