#pragma once
// The one parser of every command's arguments. A command names its options;
// every command then answers alike: "-h" or "--help" shows the tool's usage,
// "--debug" writes the diagnostic log to standard error, a wrong argument is
// one line and the hint where help is found (status 2), and after "--" every
// argument is an operand, even one that starts with a dash.

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"

namespace tunora {

class ArgumentParser {
 public:
  ArgumentParser();
  ~ArgumentParser();
  ArgumentParser(const ArgumentParser&) = delete;
  ArgumentParser& operator=(const ArgumentParser&) = delete;

  // `name` is "-o" or "--skin"; an option given twice keeps its last value.
  void flag(const std::string& name, bool& value);
  void option(const std::string& name, std::u16string& value);
  void option(const std::string& name, std::optional<std::u16string>& value);
  // Given once for each value: --skip mp3 --skip ogg.
  void repeatedOption(const std::string& name, std::vector<std::u16string>& values);
  // The arguments that are no options, in order. A command without them
  // takes none.
  void operands(std::vector<std::u16string>& values);
  // The first operand ends the options: it names a command, which gets it
  // and everything after it.
  void command(CommandLine& commandAndArguments);

  // The status to end with when the command is not to run: 0 once the usage
  // has been shown, 2 once a wrong argument has been reported. Nothing when
  // it is to run, with every value given bound.
  std::optional<int> parse(const CommandLine& args, std::FILE* out, std::FILE* err);

 private:
  void addOption(const std::string& name, std::function<void(std::u16string)> keep);

  struct Parser;
  std::unique_ptr<Parser> parser_;
};

// An argument as messages quote it: in quotes, as UTF-8, and with nothing in
// it that could steer a terminal.
std::string quotedArgument(std::string_view argument);

}  // namespace tunora
