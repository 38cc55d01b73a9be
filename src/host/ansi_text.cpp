#include "host/ansi_text.h"

#include <windows.h>

#include "text/conversions.h"

namespace tunora::host {

std::u16string ansiToWide(std::string_view text) {
  text = untilNul(text);
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(wide.data()),
                      units);
  return wide;
}

std::string wideToAnsi(std::u16string_view text) {
  text = untilNul(text);
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  // Without best fit, a character the code page lacks becomes "?", which no
  // file name holds, rather than a look-alike that may name another file.
  constexpr DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int bytes = WideCharToMultiByte(CP_ACP, flags, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide, length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

}  // namespace tunora::host
