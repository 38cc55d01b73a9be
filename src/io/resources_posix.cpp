#include "io/resources.h"

namespace tunora {

std::optional<std::span<const std::uint8_t>> findHtmlResource(ModuleHandle, int number) {
  for (const auto& resource : embeddedResources())
    if (resource.number == number && !resource.bytes.empty()) return resource.bytes;
  return std::nullopt;
}

}  // namespace tunora
