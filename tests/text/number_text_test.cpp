#include "text/number_text.h"

#include <gtest/gtest.h>

namespace tunora {
namespace {

TEST(NumberText, HexDigitsAndTheCharactersAroundThem) {
  const std::pair<char16_t, int> cases[] = {{u'0', 0}, {u'9', 9}, {u'a', 10}, {u'F', 15},
                                            {u'g', 0}, {u'/', 0}, {u':', 0},  {u'@', 0},
                                            {u'G', 0}, {u'`', 0}};
  for (const auto& [digit, value] : cases) EXPECT_EQ(hexDigitValue(digit), value) << char(digit);
}

}  // namespace
}  // namespace tunora
