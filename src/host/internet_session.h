#pragma once
// The plug-in's one Internet session, opened at init and closed at quit; the
// cover search sends its requests through it.

#include <windows.h>
#include <wininet.h>

namespace tunora::host {

// The user agent the store's search pages are asked with.
inline constexpr char kUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1) Opera 7.54u1  [en]";

class InternetSession {
 public:
  // Pre-configured access, no proxy, no flags; a failure leaves it empty.
  InternetSession();
  ~InternetSession();
  InternetSession(const InternetSession&) = delete;
  InternetSession& operator=(const InternetSession&) = delete;

  HINTERNET handle() const { return handle_; }

 private:
  HINTERNET handle_;
};

}  // namespace tunora::host
