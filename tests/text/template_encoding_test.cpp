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

TEST(TemplateEncoding, Utf8DecodesStrictlyWithReplacements) {
  constexpr char16_t R = 0xFFFD;
  const struct {
    std::string_view bytes;
    std::u16string text;
    std::size_t invalid;
  } cases[] = {
      {"", u"", 0},
      {"a\r\nb", u"a\r\nb", 0},
      // The first and last code point of each length, and one past each edge.
      {"\xC2\x80\xDF\xBF", u"\u0080\u07FF", 0},
      {"\xC1\xBF", {R, R}, 2},  // overlong two-byte form
      {"\xE0\xA0\x80\xEF\xBF\xBF", u"\u0800\uFFFF", 0},
      {"\xE0\x9F\xBF", {R, R, R}, 3},  // overlong three-byte form
      {"\xED\x9F\xBF", u"\uD7FF", 0},
      {"\xED\xA0\x80", {R, R, R}, 3},  // a surrogate
      {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\U00010000\U0010FFFF", 0},
      {"\xF0\x8F\xBF\xBF", {R, R, R, R}, 4},  // overlong four-byte form
      {"\xF4\x90\x80\x80", {R, R, R, R}, 4},  // past U+10FFFF
      {"\xF5\x80", {R, R}, 2},
      // A sequence cut short is one replacement, and the next byte is kept.
      {"\xE2\x82", {R}, 1},
      {"\xE2\x82"
       "A",
       {R, u'A'},
       1},
      {"\xF0\x9F\x8E"
       "\xC3\xA4",
       {R, u'\u00E4'},
       1},
      {"caf\xE9!", {u'c', u'a', u'f', R, u'!'}, 1},  // 8-bit text
  };
  for (const auto& c : cases) {
    const Utf8Text decoded = decodeUtf8Replacing(bytesOf(c.bytes));
    const std::string shown = ::testing::PrintToString(std::string(c.bytes));
    EXPECT_EQ(decoded.text, c.text) << shown;
    EXPECT_EQ(decoded.invalidSequences, c.invalid) << shown;
  }
}

TEST(TemplateEncoding, FirstInvalidLineIsCountedByLineFeeds) {
  EXPECT_EQ(decodeUtf8Replacing(bytesOf("\xFF")).firstInvalidLine, 0u);
  EXPECT_EQ(decodeUtf8Replacing(bytesOf("a\r\nb\n\xFF\n\xFF")).firstInvalidLine, 2u);
  EXPECT_EQ(decodeUtf8Replacing(bytesOf("a\r\xFF")).firstInvalidLine, 0u);
}

}  // namespace
}  // namespace tunora
