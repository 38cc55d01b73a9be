#include "cli/terminal.h"

#include <gtest/gtest.h>

#include "support/pseudo_terminal.h"
#include "support/scratch_stream.h"

namespace tunora {
namespace {

TEST(Terminal, FilesAndNoStreamAreNoTerminal) {
  const testing::ScratchStream file;
  EXPECT_FALSE(isTerminal(file.get()));
  EXPECT_FALSE(isTerminal(nullptr));
}

TEST(Terminal, PseudoTerminalIsOne) {
  const auto terminal = testing::PseudoTerminal::open();
  if (!terminal) GTEST_SKIP() << "no pseudo-terminal here";
  EXPECT_TRUE(isTerminal(terminal->stream()));
}

}  // namespace
}  // namespace tunora
