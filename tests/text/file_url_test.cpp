#include "text/file_url.h"

#include <gtest/gtest.h>

#include <string>

#include "text/conversions.h"

namespace tunora {
namespace {

TEST(FileUrl, EachPartEncodedAndTheSeparatorsKept) {
  const struct {
    PathStyle style;
    std::u16string path;
    std::u16string url;
  } cases[] = {
      {PathStyle::Posix, u"/music/a b.mp3", u"file:///music/a%20b.mp3"},
      {PathStyle::Posix, u"/", u"file:///"},
      // What a URL reads as its own: fragment, query, escape, and "+".
      {PathStyle::Posix, u"/m/#1?x%20+.mp3", u"file:///m/%231%3Fx%2520%2B.mp3"},
      {PathStyle::Posix, u"/AC:DC/-._~", u"file:///AC%3ADC/-._~"},
      // A backslash is part of a POSIX name.
      {PathStyle::Posix, u"/a\\b.mp3", u"file:///a%5Cb.mp3"},
      {PathStyle::Posix, u"/K\u00F6ln/\U0001F3B5", u"file:///K%C3%B6ln/%F0%9F%8E%B5"},
      // A name byte that is no UTF-8 is named again as that byte.
      {PathStyle::Posix, std::u16string(u"/x") + char16_t{0xDCE9}, u"file:///x%E9"},
      {PathStyle::Windows, u"C:\\Music\\a b.mp3", u"file:///C:/Music/a%20b.mp3"},
      {PathStyle::Windows, u"c:/Mixed\\seps.mp3", u"file:///c:/Mixed/seps.mp3"},
      {PathStyle::Windows, u"C:\\", u"file:///C:/"},
      {PathStyle::Windows, u"C:\\x:y#.mp3", u"file:///C:/x%3Ay%23.mp3"},
      {PathStyle::Windows, u"\\\\server\\share\\a b.mp3", u"file://server/share/a%20b.mp3"},
      {PathStyle::Windows, u"\\\\?\\C:\\long\\a.mp3", u"file:///C:/long/a.mp3"},
      {PathStyle::Windows, u"\\\\?\\UNC\\server\\share\\a.mp3", u"file://server/share/a.mp3"},
      // Only a letter and a colon make a drive.
      {PathStyle::Windows, u"1:\\a", u"file://1%3A/a"},
  };
  for (const auto& [style, path, url] : cases)
    EXPECT_EQ(fileUrl(path, style), url) << convertUTF16ToUTF8(path);
}

}  // namespace
}  // namespace tunora
