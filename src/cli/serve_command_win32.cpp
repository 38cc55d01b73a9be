// tunora serve follows players on the Linux session bus, as follow does;
// on Windows the plug-in shows the page of the playing song.

#include "cli/cli.h"

namespace tunora {

int runServeCommand(const CommandLine& /*args*/, std::FILE* /*out*/, std::FILE* err) {
  writeText(err,
            "tunora: serve is not available on Windows; the plug-in shows the page of the "
            "playing song there\n");
  return 1;
}

}  // namespace tunora
