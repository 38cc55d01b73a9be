#pragma once
// The stand-in store (store_server.py) as a test fixture: started on a free
// port of 127.0.0.1, serving the files of a folder, recording each request,
// and set as the HTTP proxy of the process so that picture addresses of any
// host reach it. Stopped, and the proxy setting restored, when destroyed.

#include <sys/types.h>
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
  pid_t pid_ = -1;
  int port_ = 0;
};

// A port on 127.0.0.1 where nothing listens.
int refusingPort();

}  // namespace tunora::testing
