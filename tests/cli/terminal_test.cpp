#include "cli/terminal.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/pseudo_terminal.h"

namespace tunora {
namespace {

TEST(Terminal, FilesAndNoStreamAreNoTerminal) {
  std::FILE* file = std::tmpfile();
  EXPECT_FALSE(isTerminal(file));
  std::fclose(file);
  EXPECT_FALSE(isTerminal(nullptr));
}

TEST(Terminal, PseudoTerminalIsOne) {
  const auto terminal = testing::PseudoTerminal::open();
  if (!terminal) GTEST_SKIP() << "no pseudo-terminal here";
  EXPECT_TRUE(isTerminal(terminal->stream()));
}

}  // namespace
}  // namespace tunora
