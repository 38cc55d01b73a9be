#include "support/store_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tunora::testing {

StoreServer::StoreServer(const std::filesystem::path& pages)
    : log_(std::filesystem::temp_directory_path() /
           ("tunora-store-" + std::to_string(::getpid()) + "-" +
            std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".log")) {
  std::filesystem::remove(log_);
  int out[2];
  if (::pipe(out) != 0) return;
  const std::string script = std::string(TUNORA_SOURCE_DIR) + "/tests/support/store_server.py";
  process_ = ::fork();
  if (process_ == 0) {
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execlp("python3", "python3", script.c_str(), log_.c_str(), pages.c_str(),
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  std::string line;
  char c = 0;
  while (process_ > 0 && line.size() < 16 && ::read(out[0], &c, 1) == 1 && c != '\n') line += c;
  ::close(out[0]);
  port_ = std::atoi(line.c_str());
  if (port_ == 0) return;
  const std::string proxy = "http://" + host();
  ::setenv("http_proxy", proxy.c_str(), 1);
  ::setenv("no_proxy", "127.0.0.1", 1);
}

StoreServer::~StoreServer() {
  ::unsetenv("http_proxy");
  ::unsetenv("no_proxy");
  if (process_ > 0) {
    ::kill(static_cast<pid_t>(process_), SIGTERM);
    ::waitpid(static_cast<pid_t>(process_), nullptr, 0);
  }
  std::filesystem::remove(log_);
}

std::vector<RecordedRequest> StoreServer::requests() const {
  return readRequestLog(log_);
}

int refusingPort() {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  // Bound but never listening: connections to it are refused.
  return port;
}

}  // namespace tunora::testing
