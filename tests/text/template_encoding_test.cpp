#include "text/template_encoding.h"

#include <gtest/gtest.h>

#include <string_view>

namespace tunora {
namespace {

Bytes bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(TemplateEncoding, TheMarkOrItsAbsenceDecides) {
  using enum TemplateEncoding;
  const struct {
    std::string_view bytes;
    TemplateEncoding encoding;
  } cases[] = {
      {"\xFF\xFE<\0", Utf16LE},
      {std::string_view("\xFF\xFE\0\0", 4), Utf16LE},  // UTF-32LE's mark, read as before
      {"\xEF\xBB\xBF<html>", Utf8WithMark},
      {"\xEF\xBB", Utf8},  // a mark cut short is two ill-formed bytes
      {"<html>\xC3\xA4", Utf8},
      {"<html>\xE4", Utf8},  // ill-formed, still text
      {"", Utf8},
      {"\xFE\xFF\0<", Unsupported},
      {std::string_view("<\0h\0", 4), Unsupported},
      {std::string_view("<html>\0", 7), Unsupported},
  };
  for (const auto& c : cases)
    EXPECT_EQ(templateEncodingOf(bytesOf(c.bytes)), c.encoding)
        << ::testing::PrintToString(std::string(c.bytes));
}

}  // namespace
}  // namespace tunora
