#include "host/internet_session.h"

namespace tunora::host {

InternetSession::InternetSession()
    : handle_(InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {}

InternetSession::~InternetSession() {
  if (handle_ != nullptr) InternetCloseHandle(handle_);
}

}  // namespace tunora::host
