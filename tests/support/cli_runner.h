#pragma once
// Runs the command-line tool in-process and captures what it writes.

#include <string>
#include <vector>

#include "cli/cli.h"

namespace tunora {

// The arguments as a test writes them, each of them turned into what the
// system hands the tool.
using Arguments = std::vector<std::u16string>;

}  // namespace tunora

namespace tunora::testing {

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

CliResult runCli(const Arguments& args);

}  // namespace tunora::testing
