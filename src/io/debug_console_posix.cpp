#include "io/debug_console.h"

namespace tunora {

bool openDebugConsole() {
  return false;
}

}  // namespace tunora
