#pragma once
// Runs the command-line tool in-process and captures what it writes.

#include <string>

#include "cli/cli.h"

namespace tunora::testing {

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

CliResult runCli(const Arguments& args);

}  // namespace tunora::testing
