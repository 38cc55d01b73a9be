// libcurl for the tool, loaded when the cover search first asks for it.
// Linked as usual, libcurl and the TLS, Kerberos and LDAP libraries behind it
// are loaded and set up at every start: several milliseconds, more than
// `tunora tags` then spends reading a few hundred files. These definitions
// stand in for the functions the HTTP client calls (the executable links with
// --as-needed, so libcurl itself is then not loaded at start) and forward
// each call to the library, opened on the first one. Without the library the
// calls fail as libcurl's do, and the cover search reports that it found
// nothing.

#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>
#include <dlfcn.h>

#include <cstdarg>

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
  bool complete() const {
    return globalInit && globalCleanup && easyInit && easyCleanup && easySetopt && easyPerform &&
           easyGetinfo && slistAppend && slistFreeAll;
  }
};

template <typename Function>
void bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
}

// Null when the library or one of its functions is missing. The library
// stays loaded until the process ends, as a linked one would.
const Curl* curl() {
  static const Curl* const loaded = []() -> const Curl* {
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    static Curl functions;
    bind(library, "curl_global_init", functions.globalInit);
    bind(library, "curl_global_cleanup", functions.globalCleanup);
    bind(library, "curl_easy_init", functions.easyInit);
    bind(library, "curl_easy_cleanup", functions.easyCleanup);
    bind(library, "curl_easy_setopt", functions.easySetopt);
    bind(library, "curl_easy_perform", functions.easyPerform);
    bind(library, "curl_easy_getinfo", functions.easyGetinfo);
    bind(library, "curl_slist_append", functions.slistAppend);
    bind(library, "curl_slist_free_all", functions.slistFreeAll);
    return functions.complete() ? &functions : nullptr;
  }();
  return loaded;
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
