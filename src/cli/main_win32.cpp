#include <fcntl.h>
#include <io.h>

#include "cli/argument_text.h"
#include "cli/cli.h"

int wmain(int argc, wchar_t** argv) {
  // The output is UTF-8 with LF line ends, whatever the console's mode.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  tunora::CommandLine args;
  for (int i = 1; i < argc; ++i)
    args.push_back(tunora::argumentFromText(reinterpret_cast<const char16_t*>(argv[i])));
  return tunora::runTunora(args, stdout, stderr);
}
