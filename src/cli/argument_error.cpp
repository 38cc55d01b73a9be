#include <string>

#include "cli/cli.h"

namespace tunora {

int argumentError(std::FILE* err, std::string_view message) {
  writeText(err, "tunora: " + std::string(message) + "\ntry 'tunora --help'\n");
  return 2;
}

}  // namespace tunora
