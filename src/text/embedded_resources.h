#pragma once
// The HTML pages that ship inside the binary, looked up by resource number.

#include <cstdint>
#include <optional>
#include <span>

#include "text/text_lines.h"

namespace tunora {

struct EmbeddedResource {
  int number;
  std::span<const std::uint8_t> bytes;
};

// The table compiled into the binary (not used on Windows, where the module's
// resources of type 23 hold the pages).
std::span<const EmbeddedResource> embeddedResources();

// The bytes of HTML resource `number` of the module; nothing when it is
// missing or empty.
std::optional<std::span<const std::uint8_t>> findHtmlResource(ModuleHandle module, int number);

}  // namespace tunora
