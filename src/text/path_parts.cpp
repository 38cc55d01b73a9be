#include "text/path_parts.h"

#include "text/ascii_case.h"

namespace tunora {
namespace {

template <typename Char>
std::size_t lastSeparator(std::basic_string_view<Char> path) {
  const auto backslash = path.rfind(Char('\\'));
  return backslash != std::basic_string_view<Char>::npos ? backslash : path.rfind(Char('/'));
}

template <typename Char>
std::basic_string<Char> fileNameOfImpl(std::basic_string_view<Char> path) {
  const auto at = lastSeparator(path);
  return std::basic_string<Char>(at == path.npos ? path : path.substr(at + 1));
}

template <typename Char>
std::basic_string<Char> folderOfImpl(std::basic_string_view<Char> path) {
  const auto at = lastSeparator(path);
  return std::basic_string<Char>(at == path.npos ? path : path.substr(0, at + 1));
}

template <typename Char>
std::basic_string<Char> extensionOfImpl(std::basic_string_view<Char> path) {
  const auto dot = path.rfind(Char('.'));
  if (dot == path.npos) return {'U', 'n', 'k', 'n', 'o', 'w', 'n'};
  return toUpperAscii(path.substr(dot + 1));
}

}  // namespace

std::string fileNameOf(std::string_view path) {
  return fileNameOfImpl(path);
}
std::u16string fileNameOf(std::u16string_view path) {
  return fileNameOfImpl(path);
}
std::string folderOf(std::string_view path) {
  return folderOfImpl(path);
}
std::u16string folderOf(std::u16string_view path) {
  return folderOfImpl(path);
}
std::string extensionOf(std::string_view path) {
  return extensionOfImpl(path);
}
std::u16string extensionOf(std::u16string_view path) {
  return extensionOfImpl(path);
}

}  // namespace tunora
