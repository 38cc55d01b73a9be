// Feeds arbitrary library values (artist, album and title, UTF-16 units
// separated by a zero unit) to the query builder, and checks the quoting
// rule: read back as the library reads it, the query holds exactly the
// values, whatever quotes and " AND " they contain. A column header from the
// same input goes to the column lookup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dispatch/library_query.h"

namespace {

// Conditions `name = "value"` joined by " AND ", a quote inside a value
// written twice; nothing when the text is not of that form.
std::vector<std::u16string> readBack(std::u16string_view query) {
  std::vector<std::u16string> values;
  std::size_t at = 0;
  while (at < query.size()) {
    const std::size_t open = query.find(u" = \"", at);
    if (open == query.npos) std::abort();
    std::u16string value;
    std::size_t i = open + 4;
    for (;; ++i) {
      if (i >= query.size()) std::abort();
      if (query[i] != u'"') {
        value += query[i];
      } else if (i + 1 < query.size() && query[i + 1] == u'"') {
        value += u'"';
        ++i;
      } else {
        break;
      }
    }
    values.push_back(value);
    at = i + 1;
    if (at < query.size()) {
      if (query.substr(at, 5) != u" AND ") std::abort();
      at += 5;
    }
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::u16string> parts(1);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (unit == 0)
      parts.emplace_back();
    else
      parts.back() += unit;
  }
  tunora::libraryColumnOf(parts.back());
  tunora::LibraryItemValues values;
  const tunora::LibraryColumn columns[] = {
      tunora::LibraryColumn::Artist, tunora::LibraryColumn::Album, tunora::LibraryColumn::Title};
  std::vector<std::u16string> expected;
  for (std::size_t c = 0; c < 3 && c < parts.size(); ++c) {
    values[columns[c]] = parts[c];
    if (!parts[c].empty()) expected.push_back(parts[c]);
  }
  const auto query = tunora::libraryQueryText(values);
  if (expected.empty() != !query) std::abort();
  if (query && readBack(*query) != expected) std::abort();
  return 0;
}
