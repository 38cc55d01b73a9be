#include "trackinfo/track.h"

#include <algorithm>

#include "io/file.h"
#include "text/number_text.h"
#include "text/path_parts.h"

namespace tunora {

std::optional<std::u16string> knownText(std::u16string_view text) {
  if (text == kUnknown) return std::nullopt;
  return std::u16string(text);
}

std::u16string shownText(const std::optional<std::u16string>& text) {
  return text ? *text : std::u16string(kUnknown);
}

std::u16string shownFigure(std::optional<std::uint64_t> figure, bool known) {
  if (!known) return {};
  return figure ? decimalText(*figure) : std::u16string(kUnknown);
}

std::u16string shortFileNameOf(const Track& track) {
  return nativeFileNameOf(track.fileName);
}

std::u16string fileTypeOf(const Track& track) {
  return extensionOf(std::u16string_view(track.fileName));
}

std::optional<std::uint64_t> kilobitFigure(const StreamFigures& stream) {
  if (!stream.bitsPerSecond) return std::nullopt;
  const auto unit = static_cast<std::uint64_t>(stream.shownIn);
  return std::min(*stream.bitsPerSecond / unit, kMaxBitrateFigure);
}

std::optional<std::uint32_t> knownCount(std::uint32_t value) {
  if (value == 0) return std::nullopt;
  return value;
}

}  // namespace tunora
