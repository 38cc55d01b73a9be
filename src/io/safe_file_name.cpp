#include "io/safe_file_name.h"

#include <array>

namespace tunora {
namespace {

template <typename Char>
Char upper(Char c) {
  return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}

// The name's first part, up to the first dot, without the spaces before it.
template <typename Char>
std::basic_string_view<Char> basePart(std::basic_string_view<Char> name) {
  auto base = name.substr(0, name.find(Char('.')));
  while (!base.empty() && base.back() == Char(' ')) base.remove_suffix(1);
  return base;
}

// `text` in any letter case, compared with an ASCII device name.
template <typename Char>
bool equalsUpper(std::basic_string_view<Char> text, std::string_view device) {
  if (text.size() != device.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (upper(text[i]) != static_cast<Char>(device[i])) return false;
  return true;
}

template <typename Char>
bool isDevice(std::basic_string_view<Char> name) {
  const auto base = basePart(name);
  constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN",    "AUX",
                                                      "NUL", "CONIN$", "CONOUT$"};
  for (const std::string_view device : kFixed)
    if (equalsUpper(base, device)) return true;
  // COM1 to COM9 and LPT1 to LPT9; COM0 and COM10 are ordinary names.
  if (base.size() != 4 || base[3] < Char('1') || base[3] > Char('9')) return false;
  return equalsUpper(base.substr(0, 3), "COM") || equalsUpper(base.substr(0, 3), "LPT");
}

template <typename Char>
std::basic_string<Char> safeName(std::basic_string_view<Char> name) {
  std::basic_string<Char> safe(name);
  if (isDevice(name)) safe.insert(basePart(name).size(), 1, Char('_'));
  for (auto end = safe.size();
       end > 0 && (safe[end - 1] == Char('.') || safe[end - 1] == Char(' ')); --end)
    safe[end - 1] = Char('_');
  return safe;
}

}  // namespace

bool isDeviceName(std::u16string_view name) {
  return isDevice(name);
}

bool isDeviceName(std::string_view name) {
  return isDevice(name);
}

std::u16string windowsSafeName(std::u16string_view name) {
  return safeName(name);
}

std::string windowsSafeName(std::string_view name) {
  return safeName(name);
}

}  // namespace tunora
