#pragma once
// A stream that writes to a pseudo-terminal, for code that behaves
// differently when a person watches. Null where the system makes none.

#include <cstdio>
#include <memory>

namespace tunora::testing {

class PseudoTerminal {
 public:
  static std::unique_ptr<PseudoTerminal> open();
  virtual ~PseudoTerminal() = default;
  // The terminal's side that a program writes to.
  virtual std::FILE* stream() const = 0;
};

}  // namespace tunora::testing
