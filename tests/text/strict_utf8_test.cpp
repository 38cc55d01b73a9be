#include "text/strict_utf8.h"

#include <gtest/gtest.h>

#include <string_view>

#include "support/tag_bytes.h"

namespace tunora {
namespace {

using testing::bytesOf;

TEST(StrictUtf8, IllFormedSequencesBecomeOneReplacementEach) {
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

TEST(StrictUtf8, FirstInvalidLineIsCountedByLineFeeds) {
  EXPECT_EQ(decodeUtf8Replacing(bytesOf("\xFF")).firstInvalidLine, 0u);
  EXPECT_EQ(decodeUtf8Replacing(bytesOf("a\r\nb\n\xFF\n\xFF")).firstInvalidLine, 2u);
  EXPECT_EQ(decodeUtf8Replacing(bytesOf("a\r\xFF")).firstInvalidLine, 0u);
}

}  // namespace
}  // namespace tunora
