#include "support/cli_runner.h"

#include "cli/argument_text.h"
#include "support/scratch_stream.h"

namespace tunora::testing {

CliResult runCli(const Arguments& args) {
  ScratchStream out, err;
  CommandLine commandLine;
  for (const std::u16string& arg : args) commandLine.push_back(argumentFromText(arg));
  const int status = runTunora(commandLine, out.get(), err.get());
  return {status, out.contents(), err.contents()};
}

}  // namespace tunora::testing
