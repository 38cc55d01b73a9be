#include "text/base64.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

std::vector<std::uint8_t> bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

TEST(Base64, EveryPaddingAndTheWholeAlphabet) {
  EXPECT_EQ(decodeBase64(""), bytes(""));
  EXPECT_EQ(decodeBase64("QQ=="), bytes("A"));
  EXPECT_EQ(decodeBase64("QUI="), bytes("AB"));
  EXPECT_EQ(decodeBase64("QUJD"), bytes("ABC"));
  // 0x00, 0xFF and the last two sextets (62 "+", 63 "/").
  EXPECT_EQ(decodeBase64("AP/+"), (std::vector<std::uint8_t>{0x00, 0xFF, 0xFE}));
  EXPECT_EQ(decodeBase64("+/+/"), (std::vector<std::uint8_t>{0xFB, 0xFF, 0xBF}));
}

TEST(Base64, AnythingElseIsRefused) {
  for (const char* bad :
       {"Q", "QQ=", "QUJDQ", "Q===", "====", "QQ==QUJD", "QU=D", "QU\nJ", "QUJ\x80", "QU-_"})
    EXPECT_FALSE(decodeBase64(bad)) << bad;
  // A stray byte in any group of a long text, the first and the one before
  // the last included, and every byte next to a range of the alphabet.
  const std::string good = "QUJD" + std::string(4000, 'A') + "QUI=";
  for (const std::size_t at :
       {std::size_t{0}, std::size_t{3}, std::size_t{2001}, std::size_t{3980}, good.size() - 5})
    for (const char stray : {'\0', '=', '-', '@', '[', '`', '{', ':', ',', '.', '*', '\x7F', '\x80',
                             '\xC1', '\xE1', '\xFF'}) {
      std::string text = good;
      text[at] = stray;
      EXPECT_FALSE(decodeBase64(text)) << at << " " << int(stray);
      EXPECT_FALSE(base64DecodedSize(text)) << at << " " << int(stray);
    }
  EXPECT_TRUE(decodeBase64(good));
  // Every byte value, in the middle of the long text: only the alphabet passes.
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int value = 0; value < 256; ++value) {
    std::string text = good;
    text[2001] = static_cast<char>(value);
    const bool inAlphabet = kAlphabet.find(static_cast<char>(value)) != std::string_view::npos;
    EXPECT_EQ(base64DecodedSize(text).has_value(), inAlphabet) << value;
    EXPECT_EQ(decodeBase64(text).has_value(), inAlphabet) << value;
  }
  EXPECT_EQ(base64DecodedSize(good), decodeBase64(good)->size());
}

TEST(Base64, EveryByteValueComesBack) {
  // The 256 byte values, then the same shifted by one and by two places, so
  // that each value stands at each of the three places of a group.
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<std::uint8_t> values;
  for (int shift = 0; shift < 3; ++shift)
    for (int value = 0; value < 256; ++value) values.push_back(static_cast<std::uint8_t>(value));
  values.push_back(0x7E);  // one byte more: the text ends in "=="
  std::string text;
  for (std::size_t i = 0; i < values.size(); i += 3) {
    std::uint32_t group = values[i] << 16;
    if (i + 1 < values.size()) group |= values[i + 1] << 8;
    if (i + 2 < values.size()) group |= values[i + 2];
    for (int k = 0; k < 4; ++k)
      text += i + static_cast<std::size_t>(k) <= values.size()
                  ? kAlphabet[group >> (18 - 6 * k) & 0x3F]
                  : '=';
  }
  ASSERT_EQ(text.substr(text.size() - 2), "==");
  EXPECT_EQ(decodeBase64(text), values);
}

// The size and the front bytes, as a reader of a large picture takes them,
// agree with the whole decoding at every padding and every cut.
TEST(Base64, SizeAndFrontAgreeWithTheWholeDecoding) {
  for (const std::string text : {"", "QQ==", "QUI=", "QUJD", "QUJDRA==", "QUJDREU=", "QUJDREVG"}) {
    const auto whole = decodeBase64(text);
    ASSERT_TRUE(whole) << text;
    EXPECT_EQ(base64DecodedSize(text), whole->size()) << text;
    for (std::size_t count = 0; count <= whole->size() + 4; ++count) {
      const auto front = decodeBase64Front(text, count);
      EXPECT_EQ(front, std::vector<std::uint8_t>(whole->begin(),
                                                 whole->begin() + std::min(count, whole->size())))
          << text << " " << count;
    }
  }
  for (const char* bad : {"Q", "QQ=", "Q===", "QQ==QUJD", "QU=D", "QUJ\x80", "\x80UJDQUJD"})
    EXPECT_FALSE(base64DecodedSize(bad)) << bad;
}

}  // namespace
}  // namespace tunora
