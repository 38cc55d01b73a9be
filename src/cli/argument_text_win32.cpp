#include "cli/argument_text.h"

#include "text/conversions.h"
#include "text/utf8_encoding.h"

namespace tunora {

std::string argumentFromText(std::u16string_view text) {
  std::string argument(text.size() * kMaxUTF8BytesPerUnit, '\0');
  char* at = argument.data();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (isHighSurrogate(code) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
      code = combineSurrogates(code, text[++i]);
    at = encodeUTF8(code, at);
  }
  argument.resize(static_cast<std::size_t>(at - argument.data()));
  return argument;
}

// The lenient decoder takes the three bytes of a lone surrogate back as the
// unit they came from.
std::u16string textOfArgument(std::string_view argument) {
  std::u16string text;
  convertUTF8ToUTF16(argument, text);
  return text;
}

}  // namespace tunora
