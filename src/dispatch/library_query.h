#pragma once
// The Media Library query that finds the file of a library list item by the
// values of its Artist, Album and Title columns, e.g.
//   artist = "Ann ""Hi"" Lee" AND title = "Say ""Hi"""
// A value is quoted whole and a double quote inside it is written twice, so
// that any text, quotes and " AND " included, matches only itself.

#include <optional>
#include <string>
#include <string_view>

namespace tunora {

enum class LibraryColumn { Artist, Album, Title };

// The column a header names ("Artist", "Album", "Title", letter case
// ignored); nothing for every other column.
std::optional<LibraryColumn> libraryColumnOf(std::u16string_view header);

// The values of the item's columns that the list has.
struct LibraryItemValues {
  std::optional<std::u16string> artist;
  std::optional<std::u16string> album;
  std::optional<std::u16string> title;

  std::optional<std::u16string>& operator[](LibraryColumn column);
};

// `"` + the value with every `"` doubled + `"`.
std::u16string quoteQueryValue(std::u16string_view value);

// The conditions of the values in the order artist, album, title, joined by
// " AND "; a missing or empty value is left out. Nothing without any
// condition: an empty query would find any file of the library.
std::optional<std::u16string> libraryQueryText(const LibraryItemValues& values);

}  // namespace tunora
