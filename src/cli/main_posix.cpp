#include "cli/cli.h"

int main(int argc, char** argv) {
  // The parser reads the bytes of each argument as they are.
  return tunora::runTunora(tunora::CommandLine(argv + 1, argv + argc), stdout, stderr);
}
