#pragma once
// The stand-in store (store_server.py) as a test fixture: started on a free
// port of 127.0.0.1, serving the files of a folder, recording each request,
// and set as the HTTP proxy of the process so that picture addresses of any
// host reach it. Stopped, and the proxy setting restored, when destroyed.
// On Windows (under Wine) the test starts the Linux python3 the same way;
// there WinINet keeps the proxy of a process's first session, so pictures of
// other hosts reach only the first server a process starts (CTest runs each
// test in a process of its own).

#include <filesystem>
#include <string>
#include <vector>

namespace tunora::testing {

struct RecordedRequest {
  std::string method;
  std::string target;
  std::string host;
  std::string contentType;
  std::string userAgent;
  std::string body;
};

class StoreServer {
 public:
  explicit StoreServer(const std::filesystem::path& pages);
  ~StoreServer();
  StoreServer(const StoreServer&) = delete;
  StoreServer& operator=(const StoreServer&) = delete;

  bool running() const { return port_ != 0; }
  // "127.0.0.1:port", the form the store-host settings take.
  std::string host() const;
  std::vector<RecordedRequest> requests() const;

 private:
  std::filesystem::path log_;
  long long process_ = -1;  // the server's process id where it can be signalled
  int port_ = 0;
};

// The log's lines as requests: fields separated by tabs, escaped with "\\".
std::vector<RecordedRequest> readRequestLog(const std::filesystem::path& log);

// A port on 127.0.0.1 where nothing listens.
int refusingPort();

}  // namespace tunora::testing
