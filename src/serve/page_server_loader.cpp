// The tool's side of the HTTP server: the module is opened when serve starts.

#include "io/private_module.h"
#include "serve/page_server.h"

namespace tunora {

std::unique_ptr<PageServer> makePageServer(PageFeed& feed, const ServerLimits& limits,
                                           std::string& error) {
  static auto* const make = privateModuleFunction<decltype(tunora_make_page_server)>(
      TUNORA_SERVE_MODULE, kPageServerEntry);
  std::unique_ptr<PageServer> server;
  if (make) make(feed, limits, server);
  if (!server) error = "the HTTP server module " TUNORA_SERVE_MODULE " or cpp-httplib is missing";
  return server;
}

}  // namespace tunora
