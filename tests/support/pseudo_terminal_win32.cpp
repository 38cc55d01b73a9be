#include "support/pseudo_terminal.h"

namespace tunora::testing {

// A console for a test program under Wine is not worth its trouble.
std::unique_ptr<PseudoTerminal> PseudoTerminal::open() {
  return nullptr;
}

}  // namespace tunora::testing
