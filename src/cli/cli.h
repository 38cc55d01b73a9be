#pragma once
// The command-line tool without its platform entry point: arguments arrive as
// 16-bit text (without the program name), output goes to the given streams.

#include <cstdio>
#include <string>
#include <vector>

namespace tunora {

using Arguments = std::vector<std::u16string>;

int runTunora(const Arguments& args, std::FILE* out, std::FILE* err);

// Subcommands, each given the arguments after its name.
int runTagsCommand(const Arguments& args, std::FILE* out, std::FILE* err);
int runPageCommand(const Arguments& args, std::FILE* out, std::FILE* err);
int runCoversCommand(const Arguments& args, std::FILE* out, std::FILE* err);
int runFollowCommand(const Arguments& args, std::FILE* out, std::FILE* err);

// Usage of the whole tool.
void printUsage(std::FILE* stream);

// A wrong argument: the message as one line, then where help is found.
// Gives the status of wrong arguments, 2.
int argumentError(std::FILE* err, std::string_view message);

// Writes UTF-8 text.
void writeText(std::FILE* stream, std::string_view text);

}  // namespace tunora
