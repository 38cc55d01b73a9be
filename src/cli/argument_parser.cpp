#include "cli/argument_parser.h"

#include <CLI/CLI.hpp>

#include <set>

#include "cli/argument_text.h"
#include "cli/plain_text.h"
#include "text/conversions.h"
#include "text/debug_log.h"

namespace tunora {

struct ArgumentParser::Parser {
  CLI::App app;
  bool help = false;
  bool debug = false;
  std::vector<std::string_view> operands;  // into the arguments given to parse()
  std::vector<std::u16string>* boundOperands = nullptr;
  CommandLine* command = nullptr;
  // Every name of an option that takes a value, and of a flag.
  std::set<std::string, std::less<>> valueNames;
  std::set<std::string, std::less<>> flagNames;

  // Whether the option argument `argument` takes the next argument as its
  // value, as the parser reads it: "--name" without "=", or a group of short
  // flags that ends in a short option ("-o", "-ho").
  bool takesNextArgument(std::string_view argument) const {
    if (argument.starts_with("--"))
      return argument.find('=') == argument.npos && valueNames.contains(argument);
    for (std::size_t i = 1; i < argument.size(); ++i) {
      const std::string name{'-', argument[i]};
      if (valueNames.contains(name)) return i + 1 == argument.size();
      if (!flagNames.contains(name)) return false;
    }
    return false;
  }

  // The arguments the parser gets: the options and their values. Operands
  // go into `operands` around it, which would otherwise take each of the
  // thousands of file names a shell may give through every option; for a
  // command, the first operand and all after it.
  CommandLine takeOperands(const CommandLine& args) {
    CommandLine options;
    bool ended = false;
    for (auto at = args.begin(); at != args.end(); ++at) {
      if (!ended && *at == "--") {
        ended = true;
      } else if (!ended && at->size() > 1 && at->front() == '-') {
        options.push_back(*at);
        if (takesNextArgument(*at) && at + 1 != args.end()) options.push_back(*++at);
      } else if (command) {
        operands.assign(at, args.end());
        break;
      } else {
        operands.push_back(*at);
      }
    }
    return options;
  }
};

namespace {

void addNames(std::set<std::string, std::less<>>& names, const std::string& commaSeparated) {
  std::size_t start = 0;
  while (start <= commaSeparated.size()) {
    const std::size_t comma = std::min(commaSeparated.find(',', start), commaSeparated.size());
    names.insert(commaSeparated.substr(start, comma - start));
    start = comma + 1;
  }
}

}  // namespace

ArgumentParser::ArgumentParser() : parser_(std::make_unique<Parser>()) {
  CLI::App& app = parser_->app;
  // The usage is the tool's own text; errors are reported as ours.
  app.set_help_flag();
  app.allow_extras();
  // "/link" is an operand on Windows too.
  app.allow_windows_style_options(false);
  flag("-h,--help", parser_->help);
  flag("--debug", parser_->debug);
}

ArgumentParser::~ArgumentParser() = default;

void ArgumentParser::flag(const std::string& name, bool& value) {
  addNames(parser_->flagNames, name);
  parser_->app.add_flag(name, value)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->disable_flag_override();
}

void ArgumentParser::option(const std::string& name, std::u16string& value) {
  addOption(name, [&value](std::u16string given) { value = std::move(given); });
}

void ArgumentParser::option(const std::string& name, std::optional<std::u16string>& value) {
  addOption(name, [&value](std::u16string given) { value = std::move(given); });
}

void ArgumentParser::addOption(const std::string& name, std::function<void(std::u16string)> keep) {
  addNames(parser_->valueNames, name);
  parser_->app
      .add_option_function<std::string>(
          name, [keep](const std::string& given) { keep(textOfArgument(given)); })
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void ArgumentParser::repeatedOption(const std::string& name, std::vector<std::u16string>& values) {
  addNames(parser_->valueNames, name);
  parser_->app
      .add_option_function<std::vector<std::string>>(
          name,
          [&values](const std::vector<std::string>& given) {
            for (const std::string& value : given) values.push_back(textOfArgument(value));
          })
      ->allow_extra_args(false);
}

void ArgumentParser::operands(std::vector<std::u16string>& values) {
  parser_->boundOperands = &values;
}

void ArgumentParser::command(CommandLine& commandAndArguments) {
  parser_->command = &commandAndArguments;
}

std::optional<int> ArgumentParser::parse(const CommandLine& args, std::FILE* out, std::FILE* err) {
  CLI::App& app = parser_->app;
  const bool takesOperands = parser_->boundOperands || parser_->command;
  const CommandLine options = takesOperands ? parser_->takeOperands(args) : args;
  // The parser takes the arguments from the back.
  std::vector<std::string> reversed(options.rbegin(), options.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ArgumentMismatch& error) {
    // The message starts with the option's name. Either its value is missing,
    // which only the last argument can lack, as an option takes whatever
    // follows it, or a flag was given one (--json=1).
    const std::string what = error.what();
    std::string name = what.substr(0, what.find_first_of(": "));
    // A flag's name comes without its dashes.
    if (!name.starts_with('-')) name.insert(0, name.size() == 1 ? "-" : "--");
    const bool last = !options.empty() && options.back() == name;
    return argumentError(
        err, "option " + quotedArgument(name) + (last ? " needs a value" : " takes no value"));
  } catch (const CLI::ParseError& error) {
    return argumentError(err, error.what());
  }
  if (parser_->debug) setDebugLogStream(err);
  if (parser_->help) {
    printUsage(out);
    return 0;
  }
  // What the parser did not take, in the order given: unknown options, and
  // operands where the command takes none.
  bool optionsEnded = false;
  for (const std::string& left : app.remaining()) {
    if (left == "--" && !optionsEnded) {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && left.size() > 1 && left.front() == '-')
      return argumentError(err, "unknown option " + quotedArgument(left));
    return argumentError(err, "unexpected argument " + quotedArgument(left));
  }
  if (parser_->command)
    parser_->command->assign(parser_->operands.begin(), parser_->operands.end());
  else if (parser_->boundOperands)
    for (const std::string_view operand : parser_->operands)
      parser_->boundOperands->push_back(textOfArgument(operand));
  return std::nullopt;
}

std::string quotedArgument(std::string_view argument) {
  return "'" + escapeControls(convertUTF16ToUTF8(textOfArgument(argument))) + "'";
}

}  // namespace tunora
