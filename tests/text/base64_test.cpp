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
}

}  // namespace
}  // namespace tunora
