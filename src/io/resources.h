#pragma once
// The resource seam: the HTML pages that ship inside the binary, looked up by
// resource number (io/resource_numbers.h). Windows reads the module's
// resources of type 23 (resources_win32.cpp); elsewhere the same bytes are
// compiled into a table (resources_posix.cpp).

#include <cstdint>
#include <optional>
#include <span>

#include "io/resource_numbers.h"

namespace tunora {

// Opaque module handle for embedded resources (an HMODULE on Windows; unused
// elsewhere, where the pages are compiled into the binary).
using ModuleHandle = void*;

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
