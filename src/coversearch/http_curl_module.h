#pragma once
// On Linux the libcurl client lives in a module of its own that links libcurl
// (io/private_module.h). This is the module's one entry point: it makes the
// client that makeHttpClient hands out.

#include <memory>

#include "coversearch/http_client.h"

namespace tunora {

inline constexpr char kCurlClientEntry[] = "tunora_make_curl_client";
extern "C" [[gnu::visibility("default")]] void tunora_make_curl_client(
    HttpTimeouts timeouts, std::unique_ptr<HttpClient>& client);

}  // namespace tunora
