#include "trackinfo/track.h"

#include <algorithm>

#include "io/file.h"
#include "text/ascii_case.h"
#include "text/file_url.h"
#include "text/number_text.h"
#include "text/path_parts.h"

namespace tunora {

std::optional<std::u16string> knownText(std::u16string_view text) {
  if (text == kUnknown) return std::nullopt;
  return std::u16string(text);
}

std::optional<std::u16string> knownText(std::u16string&& text) {
  if (text == kUnknown) return std::nullopt;
  return std::move(text);
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

std::u16string fileUrlOf(const Track& track) {
  const std::u16string& name = track.fileName;
  if (name.empty()) return {};
  // A stream's or the player's own URL is a link already.
  for (const std::u16string_view scheme : {u"http://", u"https://", u"file://"})
    if (equalIgnoringAsciiCase(std::u16string_view(name).substr(0, scheme.size()), scheme))
      return name;
  // Names given on a command line may be relative to the current folder.
  std::error_code failed;
  const auto absolute = std::filesystem::absolute(toFsPath(name), failed);
  return fileUrl(failed ? name : fromFsPath(absolute),
                 kPathSeparator == '\\' ? PathStyle::Windows : PathStyle::Posix);
}

std::u16string fileTypeOf(const Track& track) {
  return extensionOf(std::u16string_view(track.fileName));
}

std::optional<std::uint64_t> kilobitFigure(const StreamFigures& stream) {
  if (!stream.bitsPerSecond) return std::nullopt;
  const auto unit = static_cast<std::uint64_t>(stream.shownIn);
  return std::min(*stream.bitsPerSecond / unit, kMaxBitrateFigure);
}

std::u16string durationText(std::uint64_t milliseconds) {
  const std::uint64_t seconds = milliseconds / 1000;
  const auto twoDigits = [](std::uint64_t value) {
    return std::u16string{char16_t(u'0' + value / 10), char16_t(u'0' + value % 10)};
  };
  std::u16string text;
  if (seconds >= 3600)
    text = decimalText(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60);
  else
    text = decimalText(seconds / 60);
  return text + u':' + twoDigits(seconds % 60);
}

std::string secondsText(std::uint64_t milliseconds) {
  std::string fraction = std::to_string(milliseconds % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return std::to_string(milliseconds / 1000) + '.' + fraction;
}

std::optional<std::uint32_t> knownCount(std::uint32_t value) {
  if (value == 0) return std::nullopt;
  return value;
}

}  // namespace tunora
