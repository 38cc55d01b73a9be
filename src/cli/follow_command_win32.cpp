// tunora follow follows players on the Linux session bus; Windows players
// have no such bus, and the plug-in follows the player there.

#include "cli/cli.h"

namespace tunora {

int runFollowCommand(const CommandLine& /*args*/, std::FILE* /*out*/, std::FILE* err) {
  writeText(err,
            "tunora: follow is not available on Windows; the plug-in shows the page of the "
            "playing song there\n");
  return 1;
}

}  // namespace tunora
