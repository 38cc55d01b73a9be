#include "htmlcreator/html_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace tunora {
namespace {

// A file name's byte that is no UTF-8 arrives as U+DC80 + byte and leaves a
// link as that byte; a real pair whose second half lies in that range, and
// every other lone half, do not.
TEST(UrlComponents, NameBytesThatAreNoUtf8KeepTheirValue) {
  const struct {
    std::u16string text;
    std::u16string link;
  } cases[] = {
      {u"caf\xDCE9.mp3", u"caf%E9.mp3"},  {u"\xDC80\xDCFF", u"%80%FF"},
      {u"\xDC7F", u"%EF%BF%BD"},          {u"\xDD00", u"%EF%BF%BD"},
      {u"\xD83D\xDCE9", u"%F0%9F%93%A9"}, {u"\xD83D", u"%EF%BF%BD"},
      {u"a b\xE9", u"a%20b%C3%A9"},
  };
  for (const auto& [text, link] : cases) EXPECT_EQ(encodeUrlComponent(text), link);
}

}  // namespace
}  // namespace tunora
