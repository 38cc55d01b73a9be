#include "host/ansi_text.h"

#include "io/file.h"

namespace tunora::host {

// The player's texts are in the same code page as the system's 8-bit paths.
std::u16string ansiToWide(std::string_view text) {
  return pathFromNative(text);
}

std::string wideToAnsi(std::u16string_view text) {
  return pathToNative(text);
}

}  // namespace tunora::host
