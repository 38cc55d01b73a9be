// File names as a folder on disk may hold them, in pairs: the natural order
// must be a strict order (each pair one way round, equal only when the same),
// and a file URL must come out as plain ASCII that starts with "file:".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/file_url.h"
#include "text/natural_order.h"

namespace {

int sign(int value) {
  return (value > 0) - (value < 0);
}

void checkUrl(const std::u16string& path, tunora::PathStyle style) {
  const std::u16string url = tunora::fileUrl(path, style);
  if (!url.starts_with(u"file:")) std::abort();
  for (const char16_t c : url)
    if (c <= 0x20 || c >= 0x7F || c == u'"' || c == u'<' || c == u'>') std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  const std::size_t half = units.size() / 2;
  const std::u16string a = units.substr(0, half);
  const std::u16string b = units.substr(half);
  const int ab = sign(tunora::compareNaturally(a, b));
  if (ab != -sign(tunora::compareNaturally(b, a))) std::abort();
  if ((ab == 0) != (a == b)) std::abort();
  checkUrl(u"/" + units, tunora::PathStyle::Posix);
  checkUrl(u"C:\\" + units, tunora::PathStyle::Windows);
  checkUrl(units, tunora::PathStyle::Windows);
  return 0;
}
