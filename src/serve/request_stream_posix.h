#pragma once
// One accepted connection as cpp-httplib reads and writes it, with the two
// limits its own socket stream lacks: the bytes one request may take (which
// also bounds how many header lines it may hold) and the time it may take
// to arrive whole, so that a client trickling its request keeps no thread.
// Bytes read ahead of a request stay for the next one on the connection.

#include <httplib.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>

namespace tunora {

class RequestStream final : public httplib::Stream {
 public:
  struct Limits {
    std::size_t requestBytes;
    std::chrono::milliseconds requestTime;
    std::chrono::milliseconds writeTime;
  };

  RequestStream(int socket, const Limits& limits) : socket_(socket), limits_(limits) {}

  // Waits until a next request begins, for at most `idle`; false when the
  // client closed, went quiet or `listening` was closed meanwhile.
  bool awaitRequest(std::chrono::milliseconds idle, const std::atomic<int>& listening);
  // The limits count from here.
  void beginRequest();
  // The request reached a limit: the connection is not fit for another.
  bool overLimit() const { return overLimit_; }

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return socket_; }

 private:
  std::chrono::milliseconds timeLeft() const;

  int socket_;
  Limits limits_;
  std::array<char, 4096> buffer_{};
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t bytesLeft_ = 0;
  std::chrono::steady_clock::time_point deadline_{};
  bool overLimit_ = false;
};

}  // namespace tunora
