#include "dispatch/library_query.h"

#include <array>

#include "text/ascii_case.h"

namespace tunora {
namespace {

struct ColumnName {
  LibraryColumn column;
  std::u16string_view header;
  std::u16string_view field;
  std::optional<std::u16string> LibraryItemValues::*value;
};
// In the order of the query's conditions.
constexpr std::array<ColumnName, 3> kColumns{{
    {LibraryColumn::Artist, u"Artist", u"artist", &LibraryItemValues::artist},
    {LibraryColumn::Album, u"Album", u"album", &LibraryItemValues::album},
    {LibraryColumn::Title, u"Title", u"title", &LibraryItemValues::title},
}};

}  // namespace

std::optional<LibraryColumn> libraryColumnOf(std::u16string_view header) {
  for (const ColumnName& name : kColumns)
    if (equalIgnoringAsciiCase(header, name.header)) return name.column;
  return std::nullopt;
}

std::optional<std::u16string>& LibraryItemValues::operator[](LibraryColumn column) {
  return this->*kColumns[static_cast<std::size_t>(column)].value;
}

std::u16string quoteQueryValue(std::u16string_view value) {
  std::u16string quoted = u"\"";
  for (const char16_t unit : value) {
    if (unit == u'"') quoted += u'"';
    quoted += unit;
  }
  return quoted + u'"';
}

std::optional<std::u16string> libraryQueryText(const LibraryItemValues& values) {
  std::u16string query;
  for (const ColumnName& name : kColumns) {
    const std::optional<std::u16string>& value = values.*name.value;
    if (!value || value->empty()) continue;
    if (!query.empty()) query += u" AND ";
    query += std::u16string(name.field) + u" = " + quoteQueryValue(*value);
  }
  if (query.empty()) return std::nullopt;
  return query;
}

}  // namespace tunora
