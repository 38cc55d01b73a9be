#include "cli/terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>

namespace tunora {
namespace {

TEST(Terminal, PseudoTerminalIsOneAndFilesAndPipesAreNot) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  std::FILE* terminal = std::fopen(ptsname(master), "w");
  ASSERT_NE(terminal, nullptr);
  EXPECT_TRUE(isTerminal(terminal));
  std::fclose(terminal);
  close(master);

  std::FILE* file = std::tmpfile();
  EXPECT_FALSE(isTerminal(file));
  std::fclose(file);
  std::FILE* pipe = popen("true", "r");
  EXPECT_FALSE(isTerminal(pipe));
  pclose(pipe);
  EXPECT_FALSE(isTerminal(nullptr));
}

}  // namespace
}  // namespace tunora
