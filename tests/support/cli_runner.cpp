#include "support/cli_runner.h"

#include <cstdio>
#include <memory>

#include "cli/argument_text.h"

namespace tunora::testing {
namespace {

struct Closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string contents(std::FILE* stream) {
  std::rewind(stream);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
    text.append(buffer, n);
  return text;
}

}  // namespace

CliResult runCli(const Arguments& args) {
  std::unique_ptr<std::FILE, Closer> out(std::tmpfile()), err(std::tmpfile());
  CommandLine commandLine;
  for (const std::u16string& arg : args) commandLine.push_back(argumentFromText(arg));
  const int status = runTunora(commandLine, out.get(), err.get());
  return {status, contents(out.get()), contents(err.get())};
}

}  // namespace tunora::testing
