#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "support/pseudo_terminal.h"

namespace tunora::testing {
namespace {

class PosixPseudoTerminal final : public PseudoTerminal {
 public:
  PosixPseudoTerminal(int master, std::FILE* slave) : master_(master), slave_(slave) {}
  ~PosixPseudoTerminal() override {
    std::fclose(slave_);
    close(master_);
  }
  std::FILE* stream() const override { return slave_; }

 private:
  int master_;
  std::FILE* slave_;
};

}  // namespace

std::unique_ptr<PseudoTerminal> PseudoTerminal::open() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0) return nullptr;
  std::FILE* slave = nullptr;
  if (grantpt(master) == 0 && unlockpt(master) == 0) {
    if (const char* name = ptsname(master)) slave = std::fopen(name, "w");
  }
  if (slave == nullptr) {
    close(master);
    return nullptr;
  }
  return std::make_unique<PosixPseudoTerminal>(master, slave);
}

}  // namespace tunora::testing
