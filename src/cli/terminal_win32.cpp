#include <io.h>

#include "cli/terminal.h"

namespace tunora {

bool isTerminal(std::FILE* stream) {
  return stream != nullptr && _isatty(_fileno(stream)) != 0;
}

}  // namespace tunora
