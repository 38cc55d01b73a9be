// libcurl for the tool, loaded when the cover search first asks for it.
// Linked as usual, libcurl and the TLS, Kerberos and LDAP libraries behind it
// are loaded and set up at every start: several milliseconds, more than
// `tunora tags` then spends reading a few hundred files. These definitions
// stand in for the functions the HTTP client calls and forward each call to
// the library, opened on the first one (cli/on_demand_library.h). Without
// the library the calls fail as libcurl's do, and the cover search reports
// that it found nothing.

#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

#include <cstdarg>

#include "cli/on_demand_library.h"

namespace {

struct Curl {
  decltype(&curl_global_init) globalInit = nullptr;
  decltype(&curl_global_cleanup) globalCleanup = nullptr;
  decltype(&curl_easy_init) easyInit = nullptr;
  decltype(&curl_easy_cleanup) easyCleanup = nullptr;
  decltype(&curl_easy_setopt) easySetopt = nullptr;
  decltype(&curl_easy_perform) easyPerform = nullptr;
  decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
  decltype(&curl_slist_append) slistAppend = nullptr;
  decltype(&curl_slist_free_all) slistFreeAll = nullptr;

  bool bindAll(const tunora::OnDemandLibrary& library) {
    return library.bind("curl_global_init", globalInit) &&
           library.bind("curl_global_cleanup", globalCleanup) &&
           library.bind("curl_easy_init", easyInit) &&
           library.bind("curl_easy_cleanup", easyCleanup) &&
           library.bind("curl_easy_setopt", easySetopt) &&
           library.bind("curl_easy_perform", easyPerform) &&
           library.bind("curl_easy_getinfo", easyGetinfo) &&
           library.bind("curl_slist_append", slistAppend) &&
           library.bind("curl_slist_free_all", slistFreeAll);
  }
};

const Curl* curl() {
  return tunora::loadOnDemand<Curl>("libcurl.so.4");
}

}  // namespace

extern "C" {

CURLcode curl_global_init(long flags) {
  const Curl* loaded = curl();
  return loaded ? loaded->globalInit(flags) : CURLE_FAILED_INIT;
}

void curl_global_cleanup() {
  if (const Curl* loaded = curl()) loaded->globalCleanup();
}

CURL* curl_easy_init() {
  const Curl* loaded = curl();
  return loaded ? loaded->easyInit() : nullptr;
}

void curl_easy_cleanup(CURL* handle) {
  if (const Curl* loaded = curl()) loaded->easyCleanup(handle);
}

// libcurl's own declarations put an enumeration before the "...", and clang
// warns that its promotion might upset va_start; these enumerations are int,
// which promotes to itself.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wvarargs"
#endif

// The value's type follows from the option's number, as libcurl reads it.
CURLcode curl_easy_setopt(CURL* handle, CURLoption option, ...) {
  const Curl* loaded = curl();
  if (loaded == nullptr) return CURLE_FAILED_INIT;
  std::va_list arguments;
  va_start(arguments, option);
  CURLcode result;
  if (option < CURLOPTTYPE_OBJECTPOINT) {
    result = loaded->easySetopt(handle, option, va_arg(arguments, long));
  } else if (option < CURLOPTTYPE_FUNCTIONPOINT) {
    result = loaded->easySetopt(handle, option, va_arg(arguments, void*));
  } else if (option < CURLOPTTYPE_OFF_T) {
    using AnyFunction = void (*)();
    result = loaded->easySetopt(handle, option, va_arg(arguments, AnyFunction));
  } else if (option < CURLOPTTYPE_BLOB) {
    result = loaded->easySetopt(handle, option, va_arg(arguments, curl_off_t));
  } else {
    result = loaded->easySetopt(handle, option, va_arg(arguments, void*));
  }
  va_end(arguments);
  return result;
}

CURLcode curl_easy_perform(CURL* handle) {
  const Curl* loaded = curl();
  return loaded ? loaded->easyPerform(handle) : CURLE_FAILED_INIT;
}

// Every value of curl_easy_getinfo is written through a pointer.
CURLcode curl_easy_getinfo(CURL* handle, CURLINFO info, ...) {
  const Curl* loaded = curl();
  if (loaded == nullptr) return CURLE_FAILED_INIT;
  std::va_list arguments;
  va_start(arguments, info);
  const CURLcode result = loaded->easyGetinfo(handle, info, va_arg(arguments, void*));
  va_end(arguments);
  return result;
}

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
  const Curl* loaded = curl();
  return loaded ? loaded->slistAppend(list, text) : nullptr;
}

void curl_slist_free_all(curl_slist* list) {
  if (const Curl* loaded = curl()) loaded->slistFreeAll(list);
}

}  // extern "C"
