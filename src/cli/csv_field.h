#pragma once
// One field of a CSV record as RFC 4180 writes it.

#include <string>
#include <string_view>

namespace tunora {

// In double quotes, each quote in it doubled, when the text holds a comma, a
// quote, a carriage return or a line feed; as it is otherwise.
std::string csvField(std::string_view text);

}  // namespace tunora
