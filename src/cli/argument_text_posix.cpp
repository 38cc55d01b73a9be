#include "cli/argument_text.h"

#include "io/file.h"

namespace tunora {

// Bytes that are no UTF-8 make the round trip as the path helpers keep them.
std::string argumentFromText(std::u16string_view text) {
  return pathToNative(text);
}

std::u16string textOfArgument(std::string_view argument) {
  return pathFromNative(argument);
}

}  // namespace tunora
