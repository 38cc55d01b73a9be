#include "follow/desktop_opener.h"

#include <spawn.h>
#include <sys/wait.h>

#include "io/file.h"

extern char** environ;

namespace tunora {
namespace {

// The shell puts the opener in the background at once, so nothing is left
// to wait for: a browser it starts may run longer than we do.
constexpr const char* kOpenInBackground =
    "command -v xdg-open >/dev/null || exit 127; xdg-open \"$1\" >/dev/null 2>&1 &";

}  // namespace

bool openWithDesktop(const std::u16string& path, std::string& error) {
  const std::string nativePath = pathToNative(path);
  const char* argv[] = {"sh", "-c", kOpenInBackground, "sh", nativePath.c_str(), nullptr};
  pid_t shell = 0;
  if (posix_spawnp(&shell, "sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
    error = "cannot start a shell";
    return false;
  }
  int status = 0;
  waitpid(shell, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
    error = "xdg-open is not installed";
    return false;
  }
  return true;
}

}  // namespace tunora
