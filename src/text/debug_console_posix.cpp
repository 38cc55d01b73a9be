#include "text/debug_log.h"

namespace tunora {

bool openDebugConsole() {
  return false;
}

bool detail::writeToDebugConsole(std::string_view) {
  return false;
}

}  // namespace tunora
