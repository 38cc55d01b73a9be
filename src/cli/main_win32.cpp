#include <fcntl.h>
#include <io.h>

#include "cli/cli.h"

int wmain(int argc, wchar_t** argv) {
  // The output is UTF-8 with LF line ends, whatever the console's mode.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  tunora::Arguments args;
  for (int i = 1; i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return tunora::runTunora(args, stdout, stderr);
}
