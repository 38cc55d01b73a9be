#include "cli/cli.h"
#include "io/file.h"

int main(int argc, char** argv) {
  tunora::Arguments args;
  for (int i = 1; i < argc; ++i) args.push_back(tunora::pathFromNative(argv[i]));
  return tunora::runTunora(args, stdout, stderr);
}
