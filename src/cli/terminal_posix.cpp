#include <unistd.h>

#include "cli/terminal.h"

namespace tunora {

bool isTerminal(std::FILE* stream) {
  return stream != nullptr && isatty(fileno(stream)) == 1;
}

}  // namespace tunora
