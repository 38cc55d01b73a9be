#pragma once
// The command-line tool without its platform entry point: arguments arrive as
// the parser reads them (argument_text.h), without the program's name; output
// goes to the given streams.

#include <cstdio>
#include <string>
#include <vector>

namespace tunora {

using CommandLine = std::vector<std::string>;

int runTunora(const CommandLine& args, std::FILE* out, std::FILE* err);

// Subcommands, each given the arguments after its name.
int runTagsCommand(const CommandLine& args, std::FILE* out, std::FILE* err);
int runPageCommand(const CommandLine& args, std::FILE* out, std::FILE* err);
int runCoversCommand(const CommandLine& args, std::FILE* out, std::FILE* err);
int runFollowCommand(const CommandLine& args, std::FILE* out, std::FILE* err);
int runServeCommand(const CommandLine& args, std::FILE* out, std::FILE* err);

// Usage of the whole tool.
void printUsage(std::FILE* stream);

// A wrong argument: the message as one line, then where help is found.
// Gives the status of wrong arguments, 2.
int argumentError(std::FILE* err, std::string_view message);

// Writes UTF-8 text.
void writeText(std::FILE* stream, std::string_view text);

}  // namespace tunora
